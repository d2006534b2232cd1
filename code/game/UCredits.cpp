#include "game/UCredits.h"

#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gfx/aTrajectory.h"
#include "tk2v/util/log.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

enum Keyword {
    BEGIN_BLOCK,
    END_BLOCK,
    TRAJECTORY,
    CURVE,
    POS,
    VECTOR,
    IMAGE,
    IMAGE_GROUP,
    ANGLE,
    TEXT,
    STYLE,
    FONT,
    SIZE,
    COLOR,
    ALIGN_H,
    ALIGN_V,
    INTERVAL_AS_PIX,
    INTERVAL,
    SPEED,
    LABEL,
    START_AFTER,
    START_AFTER_TIME,
};

const std::map<std::string, Keyword>& keywords() {
    static const std::map<std::string, Keyword> table = {
        {"BeginBlock", BEGIN_BLOCK},
        {"EndBlock", END_BLOCK},
        {"Trajectory", TRAJECTORY},
        {"Curve", CURVE},
        {"Pos", POS},
        {"Vector", VECTOR},
        {"Image", IMAGE},
        {"ImageGroup", IMAGE_GROUP},
        {"Angle", ANGLE},
        {"Text", TEXT},
        {"Style", STYLE},
        {"Font", FONT},
        {"Size", SIZE},
        {"Color", COLOR},
        {"AlignH", ALIGN_H},
        {"AlignV", ALIGN_V},
        {"IntervalAsPix", INTERVAL_AS_PIX},
        {"Interval", INTERVAL},
        {"Speed", SPEED},
        {"Label", LABEL},
        {"StartAfter", START_AFTER},
        {"StartAfterTime", START_AFTER_TIME},
    };
    return table;
}

f32 floatOf(const std::string& text) {
    return f32(std::atof(text.c_str()));
}

std::unique_ptr<aTrajectory> straightPath(const std::string& text) {
    i32 x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    std::sscanf(text.c_str(), "%i %i %i %i", &x1, &y1, &x2, &y2);
    auto path = std::make_unique<aTrajectory>();
    path->addPoint(x1, y1);
    path->addPoint(x2, y2);
    return path;
}

void readPos(const std::string& text, UCredits::Motion& motion) {
    std::sscanf(text.c_str(), "%i %i", &motion.x, &motion.y);
}

// Alpha is kept as a float; drawing takes its truncated byte.
u32 alphaByte(f32 alpha) {
    return alpha >= 255 ? 255 : alpha > 0 ? u32(alpha) : 0;
}

} // namespace

UCredits::Motion::Motion(const Motion& other) {
    *this = other;
}

UCredits::Motion& UCredits::Motion::operator=(const Motion& other) {
    if (this == &other)
        return *this;
    trajectory = other.trajectory ? std::make_unique<aTrajectory>(*other.trajectory) : nullptr;
    speed = other.speed;
    x = other.x;
    y = other.y;
    fadeUpTime = other.fadeUpTime;
    fadeDownTime = other.fadeDownTime;
    period = other.period;
    return *this;
}

UCredits::Motion::~Motion() = default;

UCredits::UCredits(const std::string& scriptFile, aImageManager* images) : m_images(images) {
    aOptionsFile file(scriptFile);
    for (file.first(); !file.isEnd(); file.nextSection()) {
        const std::string section = file.getSectionName();
        if (section == "Fonts")
            readFonts(file);
        else if (section == "Style")
            readStyle(file);
        else if (section == "Trajectory")
            readTrajectory(file);
        else if (section == "Loc")
            readLoc(file);
        else if (section == "Main")
            readMain(file);
    }
    Start();
}

UCredits::~UCredits() = default;

void UCredits::readFonts(aOptionsFile& file) {
    for (bool more = file.firstKey(); more && !file.isKeysEnd(); more = file.nextKey())
        m_fonts[file.getKeyName()] = std::make_unique<aFont>(file.getKeyValue());
}

void UCredits::readStyle(aOptionsFile& file) {
    std::string name;
    Style style;
    for (bool more = file.firstKey(); more && !file.isKeysEnd(); more = file.nextKey()) {
        const std::string key = file.getKeyName(), value = file.getKeyValue();
        if (key == "Name") {
            name = value;
        } else if (key == "Font") {
            auto found = m_fonts.find(value);
            if (found == m_fonts.end())
                log("UCredits: font '%s' not found!", value.c_str());
            else
                style.font = found->second.get();
        } else if (key == "Size") {
            style.size = floatOf(value);
        } else if (key == "Color") {
            unsigned colour = 0;
            if (std::sscanf(value.c_str(), "%x", &colour) == 1)
                style.color = colour;
        }
    }
    m_styles[name] = style;
}

void UCredits::readTrajectory(aOptionsFile& file) {
    Motion motion;
    const std::string name = file.hasKey("Name") ? file.getString("Name") : std::string();
    if (file.hasKey("Curve")) {
        const std::string curve = file.getString("Curve");
        auto path = std::make_unique<aTrajectory>();
        // A curve that does not load is no path at all, not an empty one the item would wait on.
        if (path->load(curve))
            motion.trajectory = std::move(path);
        else
            log("UCredits: trajectory '%s' not found!", curve.c_str());
    } else if (file.hasKey("Pos")) {
        readPos(file.getString("Pos"), motion);
        if (file.hasKey("FadeUpTime"))
            motion.fadeUpTime = floatOf(file.getString("FadeUpTime"));
        if (file.hasKey("FadeDnTime"))
            motion.fadeDownTime = floatOf(file.getString("FadeDnTime"));
        if (file.hasKey("Period"))
            motion.period = floatOf(file.getString("Period"));
    } else if (file.hasKey("Vector")) {
        motion.trajectory = straightPath(file.getString("Vector"));
        if (file.hasKey("Speed"))
            motion.speed = floatOf(file.getString("Speed"));
    }
    m_motions[name] = motion;
}

void UCredits::readLoc(aOptionsFile& file) {
    aLocaleServer* locale = aLocaleServer::getInstance();
    if (locale && file.hasKey("File"))
        locale->loadFile(file.getString("File"), "");
}

void UCredits::readMain(aOptionsFile& file) {
    for (bool more = file.firstKey(); more && !file.isKeysEnd(); more = file.nextKey())
        applyKey(file.getKeyName(), file.getKeyValue());
    closeBlock();
}

void UCredits::applyKey(const std::string& key, const std::string& value) {
    auto keyword = keywords().find(key);
    if (keyword == keywords().end()) {
        log("UCredits: key '%s' not found!", key.c_str());
        return;
    }
    switch (keyword->second) {
    case BEGIN_BLOCK:
        closeBlock();
        m_inBlock = true;
        break;
    case END_BLOCK:
        closeBlock();
        m_inBlock = false;
        break;
    case TRAJECTORY:
        if (auto found = m_motions.find(value); found != m_motions.end())
            m_motion = found->second;
        break;
    case POS:
        m_motion.trajectory.reset();
        readPos(value, m_motion);
        break;
    case VECTOR:
        m_motion.trajectory = straightPath(value);
        break;
    case IMAGE: {
        auto item = std::make_unique<Item>();
        item->image = m_images ? m_images->getImage(value, m_imageGroup) : nullptr;
        item->angle = m_angle;
        addItem(std::move(item));
        break;
    }
    case IMAGE_GROUP:
        m_imageGroup = value;
        break;
    case ANGLE:
        m_angle = floatOf(value);
        break;
    case TEXT: {
        auto item = std::make_unique<Item>();
        if (aLocaleServer* locale = aLocaleServer::getInstance())
            item->text = locale->getString(value);
        addItem(std::move(item));
        break;
    }
    case STYLE:
        if (auto found = m_styles.find(value); found != m_styles.end())
            m_style = found->second;
        break;
    case SIZE:
        if (m_lastItem)
            m_lastItem->style.size = floatOf(value);
        break;
    case ALIGN_H:
        m_alignH = std::atoi(value.c_str());
        break;
    case ALIGN_V:
        m_alignV = std::atoi(value.c_str());
        break;
    case INTERVAL_AS_PIX:
        m_intervalAsPix = std::atoi(value.c_str()) != 0;
        break;
    case INTERVAL:
        m_interval = floatOf(value);
        break;
    case LABEL:
        m_labels[value] = i32(m_blocks.size());
        m_building.labelled = true;
        break;
    case START_AFTER:
        if (auto found = m_labels.find(value); found != m_labels.end())
            m_building.startAfter = found->second;
        else
            log("UCredits: label '%s' not found!", value.c_str());
        break;
    case START_AFTER_TIME:
        m_building.startAfterTime = floatOf(value);
        break;
    case CURVE:
    case FONT:
    case COLOR:
    case SPEED:
        break;
    }
}

i32 UCredits::itemHeight(const Item& item) {
    if (item.image)
        return item.image->getHeight();
    // A text before any font has been named draws nothing and takes no room.
    if (!item.style.font)
        return 0;
    return i32(item.style.font->getHeight() * item.style.size);
}

i32 UCredits::itemGap(const Item& item) {
    return i32(item.intervalAsPix ? item.interval : item.interval * f32(itemHeight(item)));
}

void UCredits::addItem(std::unique_ptr<Item> item) {
    if (!m_inBlock)
        closeBlock();
    item->motion = m_motion;
    item->style = m_style;
    item->interval = m_interval;
    item->intervalAsPix = m_intervalAsPix;
    item->alignH = m_alignH;
    i32 x = 0, y = 0;
    if (item->motion.trajectory && item->motion.trajectory->getPoint(0, x, y))
        item->triggerLine = y - itemHeight(*item) - itemGap(*item);
    m_lastItem = item.get();
    m_building.items.push_back(std::move(item));
}

void UCredits::closeBlock() {
    if (!m_building.items.empty()) {
        std::vector<std::unique_ptr<Item>>& items = m_building.items;
        if (!items.front()->motion.trajectory) {
            i32 total = 0;
            for (size_t i = 0; i < items.size(); ++i)
                total += itemHeight(*items[i]) + (i + 1 < items.size() ? itemGap(*items[i]) : 0);
            i32 y = items.front()->motion.y;
            if (m_alignV == 1)
                y -= total / 2;
            else if (m_alignV == 2)
                y -= total;
            for (size_t i = 0; i < items.size(); ++i) {
                items[i]->motion.y = y;
                y += itemHeight(*items[i]) + (i + 1 < items.size() ? itemGap(*items[i]) : 0);
            }
        }
        m_building.pending = 1;
        m_blocks.push_back(std::make_unique<Block>(std::move(m_building)));
    }
    m_building = Block();
}

void UCredits::Start() {
    for (auto& block : m_blocks)
        if (!block->items.empty())
            block->pending = 1;
    if (!m_blocks.empty())
        activate(0, false);
}

void UCredits::activate(size_t index, bool cascade) {
    Block& block = *m_blocks[index];
    block.pending = 0;
    block.timer = block.startAfterTime;
    for (auto& item : block.items) {
        item->status = RUNNING;
        item->triggerFired = false;
        if (item->motion.trajectory) {
            item->motion.trajectory->startMove();
        } else {
            item->fadePhase = FADING_IN;
            item->fadeClock = 0;
            item->alpha = 0;
        }
    }
    if (!cascade || !block.labelled)
        return;
    for (size_t later = index + 1; later < m_blocks.size(); ++later)
        if (m_blocks[later]->startAfter == i32(index) && m_blocks[later]->pending == 1)
            activate(later, true);
}

void UCredits::activateSuccessor(size_t index) {
    if (index + 1 >= m_blocks.size())
        return;
    const Block& next = *m_blocks[index + 1];
    if (next.pending == 1 && next.startAfter == -1)
        activate(index + 1, true);
}

bool UCredits::Update(f32 dt) {
    for (size_t i = 0; i < m_blocks.size(); ++i) {
        Block& block = *m_blocks[i];
        if (block.pending != 0)
            continue;
        if (block.startAfterTime != -1.0f && block.timer >= 0) {
            block.timer -= dt;
            if (block.timer < 0)
                activateSuccessor(i);
        }
        i32 firstStatus = IDLE;
        bool allFinished = true;
        for (size_t k = block.items.size(); k-- > 0;) {
            firstStatus = updateItem(*block.items[k], dt);
            allFinished = allFinished && firstStatus == FINISHED;
        }
        if (firstStatus == TRIGGERED)
            activateSuccessor(i);
        if (allFinished) {
            block.pending = -1;
            activateSuccessor(i);
        }
    }
    return std::none_of(m_blocks.begin(), m_blocks.end(),
                        [](const auto& block) { return block->pending == 0; });
}

i32 UCredits::updateItem(Item& item, f32 dt) {
    if (item.status == IDLE || item.status == FINISHED)
        return item.status;
    item.status = RUNNING;
    if (!item.motion.trajectory) {
        updateFade(item, dt);
        return item.status;
    }
    aTrajectory& path = *item.motion.trajectory;
    const aTrajectory::State state = path.advance(double(item.motion.speed) * dt);
    if (state == aTrajectory::Finished || state == aTrajectory::Idle) {
        item.status = FINISHED;
    } else if (!item.triggerFired) {
        f32 x = 0, y = 0;
        path.getPosition(x, y);
        if (y < f32(item.triggerLine)) {
            item.status = TRIGGERED;
            item.triggerFired = true;
        }
    }
    return item.status;
}

// A fade time of 0 or less is a cut, not a division by it.
void UCredits::updateFade(Item& item, f32 dt) {
    const Motion& m = item.motion;
    switch (item.fadePhase) {
    case FADING_IN:
        item.fadeClock += dt;
        item.alpha = m.fadeUpTime > 0 ? item.fadeClock * 255 / m.fadeUpTime : 255;
        if (item.alpha >= 255) {
            item.alpha = 255;
            item.fadePhase = HOLDING;
            item.fadeClock = m.period;
        }
        break;
    case HOLDING:
        item.fadeClock -= dt;
        if (item.fadeClock <= 0) {
            item.fadeClock = m.fadeDownTime;
            item.fadePhase = FADING_OUT;
        }
        break;
    case FADING_OUT:
        item.fadeClock -= dt;
        item.alpha = m.fadeDownTime > 0 ? item.fadeClock * 255 / m.fadeDownTime : 0;
        if (item.alpha <= 0) {
            item.alpha = 0;
            item.fadePhase = CLOSING;
            item.fadeClock = 0.1f;
        }
        break;
    case CLOSING:
        item.fadeClock -= dt;
        if (item.fadeClock <= 0)
            item.status = FINISHED;
        break;
    }
}

void UCredits::Render() {
    for (size_t i = m_blocks.size(); i-- > 0;) {
        Block& block = *m_blocks[i];
        if (block.pending != 0)
            continue;
        for (size_t k = block.items.size(); k-- > 0;) {
            Item& item = *block.items[k];
            if (item.status != IDLE && item.status != FINISHED)
                renderItem(item);
        }
    }
}

void UCredits::renderItem(Item& item) {
    f32 x = 0, y = 0;
    u32 colour = item.style.color;
    if (item.motion.trajectory) {
        item.motion.trajectory->getPosition(x, y);
    } else {
        x = f32(item.motion.x);
        y = f32(item.motion.y);
        colour = (colour & 0xFFFFFF) | alphaByte(item.alpha) << 24;
    }
    if (item.image) {
        const f32 w = item.image->getWidth();
        x -= item.alignH == 1 ? w / 2 : item.alignH == 2 ? w : 0;
        item.image->drawAtF(x, y, colour, nullptr, item.angle);
        return;
    }
    aFont* font = item.style.font;
    if (!font)
        return;
    font->setScale(item.style.size);
    font->color = colour;
    const f32 w = font->getTextSizeW(item.text).width;
    x -= item.alignH == 1 ? w / 2 : item.alignH == 2 ? w : 0;
    font->printW(x, y, item.text, 0);
}
