// The bundled demo data set, read and loaded with the engine's own readers, managers and
// decoders: every list names files that exist and load without a log line, every font
// description parses, and the GUI scripts name only fonts, styles, pictures, sounds and texts that
// exist and hold every window the game looks up by name. A fault here is a log line or a missing
// widget at start-up.
#include "game/SpyGame/Events/CSpyEventsManager.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Toolkit/StrictFloat.h"
#include "support/LogCapture.h"
#include "support/engine/TestEngine.h"
#include "support/game/DemoCases.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/file/aScriptLoader.h"
#include "tk2v/file/aStringList.h"
#include "tk2v/file/file.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aImage.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/gui/MouseCursor.h"
#include "tk2v/gui/Style.h"
#include "tk2v/gui/Widget.h"
#include "tk2v/gui/WidgetFactory.h"
#include "tk2v/sound/aAmbientSoundSystem.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"
#include "tk2v/video/aTheoraDecoder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <strings.h>
#include <tuple>
#include <vector>

namespace {

const std::string kData = RVH_DEMO_DATA;
using demo::cases;
using demo::DemoCase;

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return strcasecmp(a.c_str(), b.c_str()) < 0;
    }
};
using NameSet = std::set<std::string, NoCase>;

std::string lower(std::string text) {
    for (char& c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool sameName(const std::string& a, const std::string& b) {
    return strcasecmp(a.c_str(), b.c_str()) == 0;
}

std::string before(const std::string& text, char c, bool last) {
    const size_t at = last ? text.rfind(c) : text.find(c);
    return at == std::string::npos ? text : text.substr(0, at);
}

std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> out;
    size_t at = 0;
    while ((at = line.find_first_not_of(" \t", at)) != std::string::npos) {
        const size_t end = line.find_first_of(" \t", at);
        out.push_back(line.substr(at, end - at));
        at = end;
    }
    return out;
}

// Width and height from a PNG's header.
std::pair<int, int> pngSize(const std::string& path) {
    std::ifstream in(aFileServer::resolve(path), std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    auto be32 = [&](int at) {
        return header[at] << 24 | header[at + 1] << 16 | header[at + 2] << 8 | header[at + 3];
    };
    return {be32(16), be32(20)};
}

enum class ListKind { Images, Sounds, Music, Particles, Names };

struct ListFile {
    std::string path, group;
    ListKind kind;
    bool queued; // loaded one per frame behind the loading screen
};

// Every list the game reads up to the main menu, in the order it reads them.
const std::vector<ListFile> kLists = {
    {"images:LoadingScreen/_images.list", "LoadingScreen", ListKind::Images, false},
    {"language:Images/LoadingScreen/_images.list", "LoadingScreen", ListKind::Images, false},
    {"investigations:_SharedRooms/_rooms.list", "", ListKind::Names, false},
    {"images:Particles/_images.list", "Particles", ListKind::Images, true},
    {"images:Personages/_images.list", "Personages", ListKind::Images, true},
    {"images:_images.list", "", ListKind::Images, true},
    {"language:Images/_images.list", "", ListKind::Images, true},
    {"images:GamePanel/_images.list", "GamePanel", ListKind::Images, true},
    {"language:Images/GamePanel/_images.list", "GamePanel", ListKind::Images, true},
    {"images:Menu/_images.list", "Menu", ListKind::Images, true},
    {"language:Images/Menu/_images.list", "Menu", ListKind::Images, true},
    {"particles:_particles.list", "", ListKind::Particles, true},
    {"sounds:_sounds.list", "", ListKind::Sounds, true},
    {"sounds:Ambient/_sounds.list", "Ambient", ListKind::Sounds, true},
    {"music:playlist.txt", "", ListKind::Music, true},
    {"investigations:_investigations.list", "", ListKind::Names, false},
};

class DemoData : public ::testing::Test {
protected:
    DemoData() {
        if (!aFileServer::getInstance())
            m_files = std::make_unique<aFileServer>();
        setAssigns();
    }

    // The game's own assigns, with its data folder where the game finds it beside itself.
    static void setAssigns() {
        aFileServer& files = *aFileServer::getInstance();
        files.setAssign("gamedata", kData + "GameData/");
        files.setAssign("images", "gamedata:Images/");
        files.setAssign("sounds", "gamedata:Sounds/");
        files.setAssign("music", "gamedata:Music/");
        files.setAssign("particles", "gamedata:Particles/");
        files.setAssign("video", "gamedata:Video/");
        aOptionsFile ini(kData + "Game.ini");
        files.setAssign("language", "gamedata:Language/" + ini.getValue("Other", "Language") + "/");
        files.setAssign("fonts", "language:Fonts/");
        files.setAssign("gui", "language:GUI/");
        files.setAssign("investigations", "gamedata:Investigations/");
    }

    // The resource keys of a list as its manager forms them: name and, with a group, ":" group.
    NameSet keys(const ListFile& list) {
        NameSet out;
        aStringList lines(list.path);
        for (const std::string& line : lines.lines()) {
            // Images and music tracks end at the last dot, sounds at the first.
            std::string name = list.kind == ListKind::Sounds      ? before(line, '.', false)
                               : list.kind == ListKind::Particles ? line
                                                                  : before(line, '.', true);
            out.insert(list.group.empty() ? name : name + ":" + list.group);
        }
        return out;
    }
    NameSet keysOf(ListKind kind, const std::string& group) {
        NameSet out;
        for (const ListFile& list : kLists)
            if (list.kind == kind && sameName(list.group, group))
                out.merge(keys(list));
        return out;
    }

    LogCapture logs;

private:
    std::unique_ptr<aFileServer> m_files; // when no application has made one
};

TEST_F(DemoData, ListsNameFilesThatExistAndFewerThanSixtyAreQueued) {
    aImageManager images;
    aSoundManager sounds;
    aMusicManager music(false);
    size_t queued = 0;
    for (const ListFile& list : kLists) {
        SCOPED_TRACE(list.path);
        ASSERT_TRUE(file_existsPlain(list.path));
        aStringList lines(list.path);
        queued += list.queued ? lines.size() : 0;
        std::vector<std::string> paths;
        const std::string dir = file_getDir(list.path);
        switch (list.kind) {
        case ListKind::Images:
            images.decodeList(list.path, paths);
            for (const std::string& line : lines.lines()) {
                const std::vector<std::string> w = words(line);
                ASSERT_GE(w.size(), 3u) << line;
                EXPECT_NE(aImageManager::formatOfCode(w[1]), 0u) << line;
                EXPECT_NE(aImageManager::formatOfCode(w[2]), 0u) << line;
            }
            break;
        case ListKind::Sounds:
            sounds.decodeList(list.path, paths);
            for (const std::string& line : lines.lines()) {
                const double volume = std::atof(line.substr(line.find(' ') + 1).c_str());
                EXPECT_TRUE(volume > 0 && volume <= 1) << line;
            }
            break;
        case ListKind::Music:
            music.decodeList(list.path, paths);
            break;
        case ListKind::Particles:
            for (const std::string& line : lines.lines()) {
                paths.push_back(dir + line + ".psys");
                // The system's texture is looked up among the particle pictures.
                std::string texture;
                const aStringList system(paths.back());
                for (const std::string& psys : system.lines())
                    if (words(psys).size() == 2 && words(psys)[0] == "texture")
                        texture = words(psys)[1];
                EXPECT_TRUE(keysOf(ListKind::Images, "Particles").count(texture + ":Particles")) << line;
            }
            break;
        case ListKind::Names:
            // Room and investigation folders.
            for (const std::string& line : lines.lines())
                EXPECT_TRUE(file_dirExistsPlain(dir + line)) << line;
            continue;
        }
        EXPECT_EQ(paths.size(), lines.size());
        for (const std::string& path : paths)
            EXPECT_TRUE(file_existsPlain(path)) << path;
    }
    EXPECT_LT(queued, 60u);
    EXPECT_EQ(logs.messages(), std::vector<std::string>());

    // The names the game asks for before and in the menus.
    const NameSet pictures = keysOf(ListKind::Images, "");
    for (const char* name : {"Help_screen", "star", "The_end", "Investigation_complete"})
        EXPECT_TRUE(pictures.count(name)) << name;
    const NameSet panelPictures = keysOf(ListKind::Images, "GamePanel");
    EXPECT_TRUE(panelPictures.count("Inventory_shadow:GamePanel"));
    for (const DemoCase& c : cases()) {
        EXPECT_TRUE(panelPictures.count(c.personage + "_icon:GamePanel")) << c.personage;
        EXPECT_TRUE(pictures.count(c.personage + "_foto")) << c.personage;
    }
    const NameSet effects = keysOf(ListKind::Sounds, "");
    for (const char* name :
         {"test_volume", "show_tip", "investigation_completed", "message_appear", "show_hint", "dialog_show",
          "closeup_zoomin", "closeup_zoomout", "inventory_item_put", "inventory_item_take"})
        EXPECT_TRUE(effects.count(name)) << name;
    const NameSet tracks = keysOf(ListKind::Music, "");
    EXPECT_TRUE(tracks.count("menu_theme") && tracks.count("in_the_chinatown"));
    // Each case plays a track of the playlist.
    for (const DemoCase& c : cases()) {
        EXPECT_TRUE(tracks.count(
            aOptionsFile("investigations:" + c.name + "/_investigation.ini").getValue("Main", "Music")))
            << c.name;
    }
    const NameSet systems = keysOf(ListKind::Particles, "");
    EXPECT_TRUE(systems.count("Fog") && systems.count("WindowsLight"));
    EXPECT_TRUE(file_existsPlain("video:waves.ogg"));
}

// The loading pass and the menus' own loads, through the engine's managers and decoders.
TEST_F(DemoData, EverythingLoadsThroughTheEngineWithoutALogLine) {
    testGraphServer(); // the application brings a file server of its own
    setAssigns();
    logs.clear();
    aImageManager images;
    aSoundManager sounds;
    aMusicManager music(false);
    for (const ListFile& list : kLists) {
        if (list.kind == ListKind::Images)
            images.loadList(list.path, list.group);
        else if (list.kind == ListKind::Sounds)
            sounds.loadList(list.path, list.group);
        else if (list.kind == ListKind::Music)
            music.loadList(list.path, list.group);
    }
    for (const ListFile& list : kLists) {
        for (const std::string& key : keys(list)) {
            const std::string name = before(key, ':', false);
            if (list.kind == ListKind::Images) {
                aImage* image = images.getImage(name, list.group);
                EXPECT_TRUE(image && image->getWidth() > 0) << key;
            } else if (list.kind == ListKind::Sounds) {
                aSound* sound = sounds.getSound(name, list.group);
                EXPECT_TRUE(sound && sound->getLength() > 0) << key;
            } else if (list.kind == ListKind::Music) {
                EXPECT_GE(music.findTrack(key, list.group), 0) << key;
            } else if (list.kind == ListKind::Particles) {
                aParticleSystem system("particles:" + key + ".psys", &images, "particles");
            }
        }
    }
    for (const char* file : {"fonts:main.fnt", "fonts:blair.fnt", "fonts:credits.fnt"}) {
        aFont font(file);
        EXPECT_GT(font.getTexture().getWidth(), 0) << file;
    }
    aAmbientSoundSystem ambient("sounds:main_menu_ambient.ini", &sounds, "Ambient");
    EXPECT_EQ(ambient.getEntries().size(), 2u);
    for (const char* splash : {"SplashScr/engine.png", "SplashScr/demo.png"}) {
        aImage picture;
        picture.load(kData + splash, 0, 0);
        EXPECT_GT(picture.getWidth(), 0) << splash;
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

TEST_F(DemoData, TheWavesClipPlaysThirtyFramesAndLoops) {
    aTheoraDecoder clip;
    ASSERT_TRUE(clip.open("video:waves.ogg", true));
    // The coded frame: the 320 x 180 picture rounded up to whole 16-pixel blocks.
    EXPECT_EQ(clip.getWidth(), 320u);
    EXPECT_EQ(clip.getHeight(), 192u);
    ASSERT_TRUE(clip.update(clip.getFrameTime()));
    const std::vector<u32> first(clip.getPixels(), clip.getPixels() + 320 * 192);
    int frames = 1;
    while (clip.update(clip.getFrameTime()) && !std::equal(first.begin(), first.end(), clip.getPixels()) &&
           frames < 100)
        ++frames;
    // Two seconds at 15 frames a second, then the first frame again.
    EXPECT_EQ(frames, 30);
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

TEST_F(DemoData, SettingsHoldEveryKeyWithBareValues) {
    // A value runs to the end of the line untrimmed, so "0 " would read as on.
    aOptionsFile game(kData + "Game.ini");
    const std::map<std::string, std::vector<std::string>> gameKeys = {
        {"Graphics", {"HiColor", "VSync", "ShowFPS", "FullScr"}},
        {"Other", {"Language", "SplashScrEnabled", "FastStart", "EnableCheatKeys"}},
        {"Sound", {"Ambient", "Music"}}};
    for (const auto& [section, keys] : gameKeys)
        for (const std::string& key : keys) {
            const std::string value = game.getValue(section, key);
            EXPECT_TRUE(value == "0" || value == "1" || (key == "Language" && value == "English")) << key;
        }
    EXPECT_EQ(game.getValue("Graphics", "FullScr"), "0");
    EXPECT_TRUE(file_existsPlain("language:Text/Main.txt"));

    // Two splash screens of three seconds each, skippable as a whole.
    aOptionsFile splash(kData + "SplashScr/settings.ini");
    int screens = 0;
    for (splash.first(); !splash.isEnd(); splash.nextSection()) {
        ASSERT_EQ(splash.getSectionName(), "splash");
        ++screens;
        for (const char* key : {"image", "sound", "video", "centered", "fadeincolor", "fadeoutcolor",
                                "fadeintime", "showtime", "fadeouttime", "skip"})
            EXPECT_TRUE(splash.hasKey(key)) << key;
        EXPECT_TRUE(file_existsPlain(kData + "SplashScr/" + splash.getString("image")));
        const std::string sound = splash.getString("sound");
        EXPECT_TRUE(sound.empty() || file_existsPlain(kData + "SplashScr/" + sound));
        EXPECT_FLOAT_EQ(std::stof(splash.getString("fadeintime")) + std::stof(splash.getString("showtime")) +
                            std::stof(splash.getString("fadeouttime")),
                        3.0f);
        EXPECT_EQ(splash.getInt("skip"), 2);
    }
    EXPECT_EQ(screens, 2);
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// What a GUI script builds, as far as the references between its parts go.
class ScriptModel : public aScriptLoader {
public:
    struct Widget {
        std::string cls, name;
        size_t parent = 0;
        std::map<std::string, std::string, NoCase> props;
    };
    std::vector<Widget> widgets{Widget{"widget", "__root__", 0, {}}};
    NameSet fonts, styles, cursors;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>, NoCase> templates;
    std::vector<std::string> faults;
    std::function<bool(const std::string&)> hasImage, hasText, hasSound;

    std::vector<size_t> find(const std::string& name) const {
        std::vector<size_t> out;
        for (size_t i = 1; i < widgets.size(); ++i)
            if (sameName(widgets[i].name, name))
                out.push_back(i);
        return out;
    }
    bool isBelow(size_t widget, size_t ancestor) const {
        for (size_t at = widget; at != 0; at = widgets[at].parent)
            if (widgets[at].parent == ancestor)
                return true;
        return false;
    }
    std::string prop(size_t widget, const std::string& name) const {
        auto found = widgets[widget].props.find(name);
        return found == widgets[widget].props.end() ? "" : found->second;
    }

protected:
    enum Kind : u32 { None, FontList, RegionList, Style, Template, WidgetSection, Cursor };

    void BeginScript(const std::string& name) override { m_script = name; }

    u32 BeginSection(u32 parent, const std::vector<std::string>& tokens) override {
        if (parent != None && parent != WidgetSection)
            return fault("a section inside a " + tokens[0]);
        if (parent == None && tokens.size() == 2 && sameName(tokens[0], "style")) {
            m_props = {};
            m_name = tokens[1];
            return styles.insert(tokens[1]).second ? Style : fault("style " + tokens[1] + " twice");
        }
        if (parent == None && tokens.size() == 2 && sameName(tokens[0], "cursor")) {
            m_props = {};
            return cursors.insert(tokens[1]).second ? Cursor : fault("cursor " + tokens[1] + " twice");
        }
        if (parent == None && tokens.size() == 2 && sameName(tokens[0], "template")) {
            m_name = tokens[1];
            return templates.emplace(tokens[1], decltype(templates)::mapped_type{}).second
                       ? Template
                       : fault("template " + tokens[1] + " twice");
        }
        if (parent == None && tokens.size() == 1 && sameName(tokens[0], "fontlist"))
            return FontList;
        if (parent == None && tokens.size() == 1 && sameName(tokens[0], "regionlist"))
            return RegionList;
        return beginWidget(tokens);
    }

    void ReadEntry(u32 kind, const std::vector<std::string>& tokens) override {
        std::string value;
        for (size_t i = 1; i < tokens.size(); ++i)
            value += (i > 1 ? " " : "") + tokens[i];
        if (kind == FontList) {
            readFont(tokens[0], value);
        } else if (kind == Template) {
            templates[m_name].emplace_back(tokens[0], value);
        } else if (kind == WidgetSection) {
            widgets[m_current].props[tokens[0]] = value;
        } else if (kind == Style || kind == Cursor) {
            m_props[tokens[0]] = value;
        } else {
            fault("an entry of an unexpected section");
        }
    }

    void EndSection(u32 kind) override {
        if (kind == Style || kind == Cursor) {
            std::unique_ptr<GUI::PropertySet> known = std::make_unique<GUI::MouseCursor>();
            if (kind == Style)
                known = std::make_unique<GUI::Style>();
            for (const auto& [name, value] : m_props)
                expect(knows(*known, name), "unknown style or cursor property " + name);
            expect(hasImage(m_props["Image"]), "no picture " + m_props["Image"]);
            if (kind == Style)
                for (const char* keyword : {"FillType", "EdgeGlobal"})
                    expect(m_props.count(keyword), std::string("style without ") + keyword);
        } else if (kind == WidgetSection) {
            checkWidget(m_current);
            m_current = widgets[m_current].parent;
        }
    }

private:
    // The classes these scripts use.
    static inline const NameSet kClasses = {"widget",      "window",      "statictext",
                                            "staticimage", "stylebutton", "imagebutton",
                                            "checkbox",    "slider",      "editbox"};

    // Whether the object knows the property: its set logs a line for a name it does not know.
    static bool knows(const GUI::PropertySet& set, const std::string& name) {
        LogCapture logs;
        set.Get(name);
        return logs.messages().empty();
    }
    // A widget of the class made by the real factory, whose log line stays out of the test's log.
    static std::unique_ptr<GUI::Widget> probe(const std::string& cls) {
        LogCapture quiet;
        return GUI::WidgetFactory::Instance().NewWidget(cls, "probe");
    }

    u32 fault(const std::string& what) {
        faults.push_back(m_script + ": " + what);
        return None;
    }
    void expect(bool ok, const std::string& what) {
        if (!ok)
            fault(what);
    }

    void readFont(const std::string& name, const std::string& file) {
        expect(fonts.insert(name).second, "font " + name + " twice");
        aFont::Description font;
        aFont::readDescription(file, font);
        expect(file_existsPlain(font.texture), "no texture for " + file);
    }

    u32 beginWidget(const std::vector<std::string>& tokens) {
        // A name shorter than two letters, or a template in its place, makes a generated name.
        const bool named = tokens.size() > 1 && tokens[1].size() >= 2 && tokens[1][0] != '<';
        Widget widget{tokens[0], named ? tokens[1] : "auto", m_current, {}};
        if (!kClasses.count(widget.cls))
            return fault("class " + widget.cls + " is not one these scripts should need");
        for (size_t i = named ? 2 : 1; i < tokens.size(); ++i) {
            const std::string& t = tokens[i];
            auto found = t.size() >= 3 && t.front() == '<' && t.back() == '>'
                             ? templates.find(t.substr(1, t.size() - 2))
                             : templates.end();
            if (found == templates.end())
                return fault("unknown template " + t);
            for (const auto& [name, value] : found->second)
                widget.props[name] = value;
        }
        widgets.push_back(widget);
        m_current = widgets.size() - 1;
        return WidgetSection;
    }

    void checkWidget(size_t index) {
        const Widget& w = widgets[index];
        const std::string who = w.cls + " " + w.name + ": ";
        const std::unique_ptr<GUI::Widget> real = probe(w.cls);
        for (const auto& [name, value] : w.props) {
            expect(knows(*real, name), who + "unknown property " + name);
            const std::string key = lower(name);
            if (key == "font")
                expect(fonts.count(value), who + "no font " + value);
            else if (key.ends_with("style"))
                expect(styles.count(value), who + "no style " + value);
            else if (key.ends_with("image"))
                expect(hasImage(value), who + "no picture " + value);
            else if (key == "text")
                expect(hasText(value), who + "no text " + value);
            else if (key == "cursor")
                expect(cursors.count(value), who + "no cursor " + value);
            else if (key == "soundclick" || key == "soundmove")
                expect(hasSound(value), who + "no sound " + value);
        }
    }

    std::string m_script, m_name;
    std::map<std::string, std::string, NoCase> m_props;
    size_t m_current = 0;
};

class DemoScripts : public DemoData {
protected:
    DemoScripts() {
        texts.loadFile("language:Text/Main.txt", "");
        aOptionsFile credits("language:credits.ini");
        texts.loadFile(credits.getValue("Loc", "File"), "");
        m_loading = keysOf(ListKind::Images, "LoadingScreen");
        m_pictures = keysOf(ListKind::Images, "");
        m_sounds = keysOf(ListKind::Sounds, "");
        // The loading screen is read before the global lists are loaded.
        gui.hasImage = [this](const std::string& name) { return m_loading.count(name) > 0; };
        gui.hasText = [this](const std::string& key) { return texts.findString(key) != nullptr; };
        gui.hasSound = [this](const std::string& name) { return m_sounds.count(name) > 0; };
        gui.load("gui:LoadingScreen.agui");
        gui.hasImage = [this](const std::string& name) {
            return m_loading.count(name) || m_pictures.count(name);
        };
        gui.load("gui:index.agui");
    }

    aLocaleServer texts;
    ScriptModel gui;

private:
    NameSet m_loading, m_pictures, m_sounds;
};

TEST_F(DemoScripts, ReferToFontsStylesPicturesSoundsAndTextsThatExist) {
    EXPECT_EQ(gui.faults, std::vector<std::string>());
    EXPECT_TRUE(gui.fonts.count("blair"));
    for (const char* style :
         {"dlg", "tip_style0", "tip_style1", "tip_style2", "tip_style3", "frame_style_gb"})
        EXPECT_TRUE(gui.styles.count(style)) << style;
    EXPECT_TRUE(gui.cursors.count("default"));
    EXPECT_TRUE(texts.findString("investigation"));

    // The credits: fonts that parse, styles and motions defined before the roll, texts that exist.
    aOptionsFile credits("language:credits.ini");
    NameSet styles, motions;
    float lineHeight = 0, length = 0, speed = 0, gap = 0;
    int lines = 0;
    for (credits.first(); !credits.isEnd(); credits.nextSection()) {
        const std::string section = credits.getSectionName();
        for (credits.firstKey(); !credits.isKeysEnd(); credits.nextKey()) {
            const std::string key = credits.getKeyName(), value = credits.getKeyValue();
            if (section == "Fonts") {
                aFont::Description font;
                aFont::readDescription(value, font);
                EXPECT_TRUE(file_existsPlain(font.texture)) << value;
                lineHeight = std::max(lineHeight, font.height);
            } else if (section == "Trajectory" && key == "Vector") {
                float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
                std::sscanf(value.c_str(), "%f %f %f %f", &x1, &y1, &x2, &y2);
                length = std::hypot(x2 - x1, y2 - y1);
            } else if (section == "Trajectory" && key == "Speed") {
                speed = std::stof(value);
            } else if (section == "Main" && key == "Interval") {
                gap = std::stof(value);
            } else if (section == "Style" && key == "Name") {
                styles.insert(value);
            } else if (section == "Trajectory" && key == "Name") {
                motions.insert(value);
            } else if (section == "Main" && key == "Text") {
                EXPECT_TRUE(texts.findString(value)) << value;
                ++lines;
            } else if (section == "Main" && key == "Style") {
                EXPECT_TRUE(styles.count(value)) << value;
            } else if (section == "Main" && key == "Trajectory") {
                EXPECT_TRUE(motions.count(value)) << value;
            }
        }
    }
    // One line after another up the one path, each leaving when the one before has climbed its
    // own height and the gap: the roll ends within six seconds.
    ASSERT_GT(speed, 0);
    EXPECT_LT((length + float(lines - 1) * (lineHeight + gap)) / speed, 6.0f);
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

TEST_F(DemoScripts, FontsParseAndCoverPrintableAscii) {
    ASSERT_GE(gui.fonts.size(), 2u);
    for (const char* file : {"fonts:main.fnt", "fonts:blair.fnt", "fonts:credits.fnt"}) {
        SCOPED_TRACE(file);
        aFont::Description font;
        aFont::readDescription(file, font);
        const auto [width, height] = pngSize(font.texture);
        EXPECT_NE(font.format16, 0u);
        EXPECT_NE(font.format32, 0u);
        EXPECT_GT(font.height, 0);
        for (u32 ch = 0x20; ch <= 0x7E; ++ch) {
            const aFont::Glyph* g = font.glyphs[ch].get();
            ASSERT_NE(g, nullptr) << ch;
            EXPECT_TRUE(g->x >= 0 && g->y >= 0 && g->w > 0 && g->x + g->w <= width && g->y + g->h <= height)
                << ch;
        }
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

struct Window {
    const char* root;
    std::vector<const char*> below = {};  // anywhere below the root
    std::vector<const char*> direct = {}; // direct children of the root
    bool topLevel = false;                // a direct child of the GUI root
};

// Every window and widget the game finds by name before the main menu.
const std::vector<Window> kWindows = {
    {"LoadingScreen",
     {"ProgressBar", "ColoredInlay", "LoadInvText", "InvNumberFrame", "LoadMenu", "LoadMenuBlood",
      "InvNumber"}},
    {"MainMenu",
     {"Background", "Selector", "Play", "Options", "Help", "Credits", "Exit", "ChangeProfile", "UserName",
      "Welcome", "GameBrand", "GameName"}},
    {"OptionsMenu",
     {"sound_vol", "sound_vol_auto_thumb", "music_vol", "music_vol_auto_thumb", "fullscreen",
      "fullscreen_auto_check", "show_tips", "show_tips_auto_check", "btn_apply", "btn_cancel"}},
    {"profiles_list", {"new_profile", "del_profile", "close"}, {"selection"}, true},
    {"create_new_profile", {"name", "btn_ok", "btn_cancel"}, {"profile_exist"}, true},
    {"confirm_profile_delete", {"name", "btn_yes", "btn_no"}, {}, true},
    {"SpyGameInterface",
     {"GamePanel",
      "BlockWidget",
      "BackBtnPanel",
      "Back",
      "Evidences",
      "Clues",
      "Map",
      "Menu",
      "SolveBtnPanel",
      "Solve",
      "PersonagesFotos",
      "PersonagesTitles",
      "PersonagesNotepads",
      "ArrowLeft",
      "ArrowRight",
      "Hints",
      "HintsCount",
      "BlockInventory",
      "LevelNumber",
      "InventoryArea"}},
    {"Message", {"text", "Close", "PersIcon"}},
    {"Hint", {"text"}},
    {"InGameMenu", {"resume", "options", "exit", "help"}},
    {"InvCard", {"Continue", "InvCardArea"}},
    {"ItemIdent", {"DialogWindow", "text", "Continue", "IdentItem", "NPC"}},
    {"PickItem", {"Continue", "text"}},
    {"PickEvidence", {"panel", "over_style", "Continue"}},
    {"EventForItem", {"text", "Continue", "NPC"}},
    {"PersonagesHelp", {"Continue"}},
    {"PhoneCall", {"DialogWindow", "over_style", "text", "Continue", "LeftPers", "RightPers"}},
    {"SearchFinish", {"Ok", "text"}},
    {"LocFinish", {"Ok", "text"}},
    {"SolveConfirm", {"Yes", "No"}},
    {"ConfirmSaveExit", {"btn_yes", "btn_no"}},
    {"Comics", {"picture", "skip", "prev", "next", "finish"}},
    {"ToolTip", {"balloon", "text", "close", "dont_show", "dont_show_auto_check"}},
};

TEST_F(DemoScripts, HoldEveryWindowTheGameLooksUp) {
    for (const Window& window : kWindows) {
        SCOPED_TRACE(window.root);
        // Roots are found by a search of the whole tree, so each name must be unique.
        const std::vector<size_t> roots = gui.find(window.root);
        ASSERT_EQ(roots.size(), 1u);
        const size_t root = roots[0];
        EXPECT_TRUE(sameName(gui.widgets[root].cls, "window"));
        EXPECT_TRUE(!window.topLevel || gui.widgets[root].parent == 0);
        for (const char* name : window.below) {
            bool found = false;
            for (size_t at : gui.find(name))
                found = found || gui.isBelow(at, root);
            EXPECT_TRUE(found) << name;
        }
        for (const char* name : window.direct) {
            bool found = false;
            for (size_t at : gui.find(name))
                found = found || gui.widgets[at].parent == root;
            EXPECT_TRUE(found) << name;
        }
    }

    // Four player slots: the direct children of the list with a non-zero Tag.
    const size_t list = gui.find("profiles_list")[0];
    int slots = 0;
    for (size_t i = 1; i < gui.widgets.size(); ++i)
        slots += gui.widgets[i].parent == list && std::atoi(gui.prop(i, "Tag").c_str()) != 0;
    EXPECT_EQ(slots, 4);
    // The buttons answer by their Tag: non-zero confirms.
    for (const auto& [window, yes, no] : {std::tuple{"create_new_profile", "btn_ok", "btn_cancel"},
                                          std::tuple{"confirm_profile_delete", "btn_yes", "btn_no"}}) {
        const size_t root = gui.find(window)[0];
        for (size_t at : gui.find(yes))
            EXPECT_TRUE(!gui.isBelow(at, root) || std::atoi(gui.prop(at, "Tag").c_str()) != 0) << yes;
        for (size_t at : gui.find(no))
            EXPECT_TRUE(!gui.isBelow(at, root) || std::atoi(gui.prop(at, "Tag").c_str()) == 0) << no;
    }
    // Windows the game never hides itself start hidden; overlays let the clicks through to what
    // lies below them, while a thumb takes its own.
    for (const char* name :
         {"profiles_list", "create_new_profile", "confirm_profile_delete", "ToolTip", "Comics"})
        EXPECT_EQ(gui.prop(gui.find(name)[0], "Visible"), "0") << name;
    for (size_t i = 1; i < gui.widgets.size(); ++i) {
        const std::string& name = gui.widgets[i].name;
        const bool overlay =
            sameName(name, "Selector") || sameName(name, "selection") || name.ends_with("_auto_check");
        if (overlay || name.ends_with("_auto_thumb")) {
            EXPECT_EQ(gui.prop(i, "Static") == "1", overlay) << name;
        }
    }
    EXPECT_TRUE(sameName(gui.widgets[gui.find("sound_vol")[0]].cls, "slider"));
    EXPECT_TRUE(sameName(gui.widgets[gui.find("fullscreen")[0]].cls, "checkbox"));
    EXPECT_TRUE(sameName(gui.widgets[gui.find("dont_show")[0]].cls, "checkbox"));
}

// The panel around a room: hidden until play, the personage's photo, title and notepad, buttons
// with a glow band, the strip's area in screen coordinates; the comic steps and the tips.
TEST_F(DemoScripts, ThePanelTheComicsAndTheTipsHoldWhatPlayLooksUp) {
    const size_t root = gui.find("SpyGameInterface")[0];
    EXPECT_EQ(gui.prop(root, "Visible"), "0");
    // The strip's rectangle is read as it stands, so it lies in a root at the screen's origin.
    EXPECT_TRUE(gui.prop(root, "AreaRect").starts_with("0 0 "));
    const size_t area = gui.find("InventoryArea")[0];
    EXPECT_EQ(gui.widgets[area].parent, root);
    EXPECT_EQ(gui.prop(area, "Static"), "1");
    int x = 0, y = 0, w = 0, h = 0, panelX = 0, panelY = 0, panelW = 0, panelH = 0;
    std::sscanf(gui.prop(area, "AreaRect").c_str(), "%d %d %d %d", &x, &y, &w, &h);
    std::sscanf(gui.prop(gui.find("GamePanel")[0], "AreaRect").c_str(), "%d %d %d %d", &panelX, &panelY,
                &panelW, &panelH);
    EXPECT_TRUE(x >= panelX && y >= panelY && x + w <= panelX + panelW && y + h <= panelY + panelH);
    EXPECT_GE((w - 4) / 41, 4); // cells
    // The panel and the widgets beside it keep to the column left of the room area.
    for (const char* part : {"GamePanel", "InventoryArea", "BackBtnPanel", "SolveBtnPanel", "LevelNumber"}) {
        const size_t at = gui.find(part)[0];
        EXPECT_EQ(gui.widgets[at].parent, root) << part;
        std::sscanf(gui.prop(at, "AreaRect").c_str(), "%d %d %d %d", &x, &y, &w, &h);
        EXPECT_TRUE(x >= 0 && y >= 0 && x + w <= 1024 - 845 && y + h <= 768) << part;
    }

    auto child = [&](size_t parent, const std::string& name) {
        for (size_t at : gui.find(name))
            if (gui.widgets[at].parent == parent)
                return at;
        return size_t(0);
    };
    for (const DemoCase& c : cases()) {
        SCOPED_TRACE(c.personage);
        for (const char* part : {"PersonagesFotos", "PersonagesTitles", "PersonagesNotepads"})
            EXPECT_NE(child(gui.find(part)[0], c.personage), 0u) << part;
        // The task lists draw only with a font of their own.
        const size_t notepad = child(gui.find("PersonagesNotepads")[0], c.personage);
        for (const char* list : {"text", "text2"}) {
            const size_t at = child(notepad, list);
            ASSERT_NE(at, 0u) << list;
            EXPECT_TRUE(sameName(gui.widgets[at].cls, "statictext") && gui.fonts.count(gui.prop(at, "Font")))
                << list;
        }
    }
    // A button glows with its picture's fifth band.
    for (const char* name :
         {"Back", "Evidences", "Clues", "Map", "Menu", "Solve", "ArrowLeft", "ArrowRight", "Hints"}) {
        const size_t at = gui.find(name)[0];
        const std::string picture = gui.prop(at, "Image");
        EXPECT_TRUE(sameName(gui.widgets[at].cls, "imagebutton") && gui.prop(at, "GlyphCount") == "5")
            << name;
        const int height = pngSize("images:" + picture + ".png").second;
        EXPECT_TRUE(height >= 5 && height % 5 == 0) << name;
    }
    EXPECT_EQ(gui.prop(gui.find("prev")[0], "Tag"), "-1");
    EXPECT_EQ(gui.prop(gui.find("next")[0], "Tag"), "1");

    // Every tip the game may show, "General" among them, has its text and a place.
    aOptionsFile tips("gamedata:tips.ini");
    EXPECT_GT(std::atof(tips.getValue("General", "FadeTime").c_str()), 0.0);
    EXPECT_GT(std::atof(tips.getValue("General", "CloseAnywhereTime").c_str()), 0.0);
    NameSet ids;
    for (tips.first(); !tips.isEnd(); tips.nextSection()) {
        ids.insert(tips.getSectionName());
        EXPECT_TRUE(texts.findString("tip." + tips.getSectionName())) << tips.getSectionName();
        EXPECT_TRUE(tips.hasKey("X") && tips.hasKey("Y")) << tips.getSectionName();
    }
    for (const char* id : {"General", "start_inv", "evidences_help", "inventory", "inventory2", "inventory3",
                           "clues_help", "not_clues", "room_task", "inv_task", "use_hints", "crab_puzzle",
                           "click_disabled_hints", "click_hints_on_map", "id_report_view"})
        EXPECT_TRUE(ids.count(id)) << id;
    // The demo shows one tip, the notepad's; the others have no showing left in any level.
    for (tips.first(); !tips.isEnd(); tips.nextSection()) {
        const std::string id = tips.getSectionName();
        if (id == "General")
            continue;
        const bool live = tips.getInt("TimesPerLevel") > 0 && tips.getInt("LevelsCount") > 0;
        EXPECT_EQ(live, id == "room_task") << id;
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

} // namespace

// The demo's cases and their rooms, as the scene and the personages read them: every ini file parses
// without a log line, and every picture, animation, particle system, sound, font, text and item a
// file names is there and loads. Each case's rooms are those its "_rooms.list" names.
class DemoRooms : public DemoScripts {
protected:
    // The evidence box's room name is the one the investigation looks for.
    static inline const std::string kEvidenceBox = "Evidence_box";

    DemoRooms() {
        for (const DemoCase& c : cases()) {
            texts.loadFile("language:Investigations/" + c.name + "/investigation.txt", c.name);
            for (const std::string& room : roomsOf(c)) {
                const std::string lang = "language:Investigations/" + c.name + "/" + room + "/";
                for (const char* file : {"room.txt", "items.txt"})
                    if (file_existsPlain(lang + file))
                        texts.loadFile(lang + file, room);
            }
        }
    }

    static std::string folder(const DemoCase& c) { return "investigations:" + c.name + "/"; }
    struct Puzzle {
        const char* room;
        const char* cls;
        std::vector<std::string> items, sections, sounds;
    };
    // Each room of its class, holding the items, sections and sounds its class looks up.
    void expectPuzzles(const DemoCase& c, const std::vector<Puzzle>& puzzles) {
        for (const Puzzle& puzzle : puzzles) {
            SCOPED_TRACE(puzzle.room);
            const std::string dir = folder(c) + puzzle.room + "/";
            aOptionsFile ini(dir + "room.ini");
            EXPECT_EQ(ini.getValue("Room", "Class"), puzzle.cls);
            const NameSet items = itemNames(c, puzzle.room);
            for (const std::string& item : puzzle.items)
                EXPECT_TRUE(items.count(item)) << item;
            const NameSet sounds = keys({dir + "Sounds/_sounds.list", "", ListKind::Sounds, false});
            for (const std::string& sound : puzzle.sounds)
                EXPECT_TRUE(sounds.count(sound)) << sound;
            for (const std::string& section : puzzle.sections)
                EXPECT_TRUE(ini.selectSection(section)) << section;
        }
    }
    // The case's rooms, in the order of its list.
    static std::vector<std::string> roomsOf(const DemoCase& c) {
        return aStringList(folder(c) + "_rooms.list").lines();
    }
    // The rooms of a case that are scenes of their own, the evidence box left out.
    static std::vector<std::string> scenesOf(const DemoCase& c) {
        std::vector<std::string> out;
        for (const std::string& room : roomsOf(c))
            if (room != kEvidenceBox)
                out.push_back(room);
        return out;
    }
    static bool caseHas(const DemoCase& c, const std::string& room) {
        const std::vector<std::string> rooms = roomsOf(c);
        return std::count(rooms.begin(), rooms.end(), room) != 0;
    }

    static std::vector<std::string> list(const aOptionsFile& ini, const std::string& key) {
        std::vector<std::string> out;
        if (ini.hasKey(key))
            ini.getStringList(out, key);
        return out;
    }
    // The room's item names: a section with several objects becomes one item per object, named
    // after the object in capitals.
    static NameSet itemNames(const DemoCase& c, const std::string& room) {
        NameSet out;
        for (aOptionsFile ini(folder(c) + room + "/items.ini"); !ini.isEnd(); ini.nextSection()) {
            const std::vector<std::string> objects = list(ini, "Object");
            if (objects.size() < 2)
                out.insert(ini.getSectionName());
            for (std::string object : objects.size() > 1 ? objects : std::vector<std::string>()) {
                for (char& ch : object)
                    ch = char(std::toupper(static_cast<unsigned char>(ch)));
                out.insert(object);
            }
        }
        // The word machine makes its coins from MONEY1 as it loads.
        if (aOptionsFile(folder(c) + room + "/room.ini").getValue("Room", "Class") == "CapOJoePuzzleRoom")
            for (int coin = 2; coin <= 29; ++coin)
                out.insert("MONEY" + std::to_string(coin));
        return out;
    }
    bool hasText(const std::string& id, const std::string& room) const {
        return texts.findString(id, room) != nullptr;
    }
};

TEST_F(DemoRooms, ScenesNameOnlyPicturesAnimationsParticlesSoundsAndFontsThatLoad) {
    testGraphServer(); // the application brings a file server of its own
    setAssigns();
    logs.clear();
    aImageManager images;
    aSoundManager sounds;
    images.loadList("images:Particles/_images.list", "Particles");
    const NameSet globalSounds = keysOf(ListKind::Sounds, ""),
                  ambientSounds = keysOf(ListKind::Sounds, "Ambient");
    const NameSet particlePictures = keysOf(ListKind::Images, "Particles");
    EXPECT_TRUE(keysOf(ListKind::Particles, "").count("MagicStars"));
    std::set<std::string> objectClasses, itemClasses;
    for (const DemoCase& c : cases()) {
        for (const std::string& room : scenesOf(c)) {
            SCOPED_TRACE(c.name + "/" + room);
            const std::string dir = folder(c) + room + "/";
            const NameSet pictures = keys({dir + "Images/_images.list", "", ListKind::Images, false});
            const NameSet roomSounds = keys({dir + "Sounds/_sounds.list", "", ListKind::Sounds, false});
            images.loadList(dir + "Images/_images.list", room);
            sounds.loadList(dir + "Sounds/_sounds.list", room);
            EXPECT_TRUE(images.getImage("background", room));
            auto hasSound = [&](const std::string& name) {
                return roomSounds.count(name) || globalSounds.count(name);
            };

            // Particle systems draw with the global particle pictures.
            NameSet systems;
            const std::string systemsFile = dir + "Particles/_particles.list";
            const aStringList systemList =
                file_existsPlain(systemsFile) ? aStringList(systemsFile) : aStringList();
            for (const std::string& system : systemList.lines()) {
                systems.insert(system);
                const std::string psys = dir + "Particles/" + system + ".psys";
                aParticleSystem loaded(psys, &images, "particles");
                const aStringList lines(psys);
                for (const std::string& line : lines.lines()) {
                    if (words(line).size() == 2 && words(line)[0] == "texture") {
                        EXPECT_TRUE(particlePictures.count(words(line)[1] + ":Particles")) << system;
                    }
                }
            }

            // A room of the factory's classes; the plain rooms may name their sounds.
            const aOptionsFile roomIni(dir + "room.ini");
            const std::unique_ptr<CRoomBase> made(
                CRoomsManager::CreateRoom(roomIni.getValue("Room", "Class")));
            EXPECT_TRUE(made) << roomIni.getValue("Room", "Class");
            for (const char* key : {"SoundOnEntry", "SoundOnBack", "SoundOnBadClick"}) {
                if (roomIni.hasSectionKey("Room", key)) {
                    EXPECT_TRUE(hasSound(roomIni.getValue("Room", key))) << key;
                }
            }
            if (file_existsPlain(dir + "Sounds/ambient.ini")) {
                for (aOptionsFile ambient(dir + "Sounds/ambient.ini"); !ambient.isEnd();
                     ambient.nextSection())
                    EXPECT_TRUE(ambientSounds.count(ambient.getSectionName() + ":Ambient"));
            }

            aOptionsFile animations;
            if (file_existsPlain(dir + "animations.ini"))
                animations.load(dir + "animations.ini");
            NameSet objects;
            for (aOptionsFile ini(dir + "objects.ini"); !ini.isEnd(); ini.nextSection()) {
                const std::string name = ini.getSectionName(), cls = ini.getString("Class");
                objects.insert(name);
                objectClasses.insert(cls);
                if (cls == "image" || (cls == "text" && ini.hasKey("Image"))) {
                    EXPECT_TRUE(pictures.count(ini.getString("Image"))) << name;
                } else if (cls == "animation") {
                    ASSERT_TRUE(animations.selectSection(name)) << name;
                    EXPECT_TRUE(pictures.count(animations.getString("TextureName"))) << name;
                } else if (cls == "particles") {
                    EXPECT_TRUE(systems.count(name)) << name;
                }
                if (cls == "text") {
                    EXPECT_TRUE(gui.fonts.count(ini.getString("Font"))) << name;
                    EXPECT_TRUE(hasText(ini.getString("StringID"), room)) << name;
                }
            }
            // A glow belongs to an object of the name after its "#s_".
            for (const std::string& name : objects) {
                if (name.starts_with("#s_")) {
                    EXPECT_TRUE(objects.count(name.substr(3))) << name;
                }
            }

            const NameSet items = itemNames(c, room);
            for (aOptionsFile ini(dir + "items.ini"); !ini.isEnd(); ini.nextSection()) {
                const std::string name = ini.getSectionName();
                itemClasses.insert(ini.hasKey("Class") ? ini.getString("Class") : "Item");
                std::vector<std::string> named = list(ini, "Object");
                for (const char* key : {"ObjectOnMouseHover", "ObjectOnItemLocked"})
                    if (ini.hasKey(key))
                        named.push_back(ini.getString(key));
                for (const std::string& object : named)
                    EXPECT_TRUE(objects.count(object)) << name << " " << object;
                for (const char* key :
                     {"SoundOnClickUse", "SoundOnBadClickUse", "SoundOnApplyItemToItem",
                      "SoundOnBadApplyItemToItem", "SoundOnUnlock", "SoundOnPick", "SoundOnStartAnim"}) {
                    if (ini.hasKey(key)) {
                        EXPECT_TRUE(hasSound(ini.getString(key))) << name << " " << key;
                    }
                }
                // Doors and close-ups lead to rooms of their own case.
                if (ini.hasKey("UseRoom")) {
                    EXPECT_TRUE(caseHas(c, ini.getString("UseRoom"))) << name;
                }
                for (const char* key : {"ContainerShow", "ContainerHide"})
                    for (const std::string& shown : list(ini, key))
                        EXPECT_TRUE(items.count(shown)) << name << " " << shown;
            }
        }
    }
    EXPECT_EQ(objectClasses, (std::set<std::string>{"animation", "image", "particles", "text"}));
    EXPECT_EQ(itemClasses, (std::set<std::string>{"Container", "Door", "Item", "ZoomRoom"}));
    for (const char* cup : {"CUP1", "CUP2", "CUP3"})
        EXPECT_TRUE(itemNames(cases()[0], "room_Hall").count(cup)) << cup;
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

TEST_F(DemoRooms, PersonageScriptsNameItemsAndTextsThatExist) {
    // The game plays these cases, one after the other.
    std::vector<std::string> names;
    for (const DemoCase& c : cases())
        names.push_back(c.name);
    EXPECT_EQ(aStringList("investigations:_investigations.list").lines(), names);
    for (const DemoCase& c : cases()) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> rooms = roomsOf(c);
        ASSERT_FALSE(rooms.empty());
        EXPECT_EQ(rooms.front(), c.hub);
        for (const std::string& room : rooms) {
            SCOPED_TRACE(room);
            const NameSet items = itemNames(c, room);
            for (aOptionsFile ai(folder(c) + room + "/" + c.personage + ".ai"); !ai.isEnd();
                 ai.nextSection()) {
                const std::string section = ai.getSectionName();
                EXPECT_TRUE(section == "ROOM" || items.count(section)) << section;
                for (const char* key : {"FirstEnter", "EnterToRoom", "RoomTask", "About", "BadUse"}) {
                    if (ai.hasKey(key)) {
                        EXPECT_TRUE(hasText(ai.getString(key), room)) << section << " " << key;
                    }
                }
                // The success text shows in the room where the carried item is used.
                if (ai.hasKey("SuccessApply")) {
                    const std::string useRoom = before(ai.getString("UseTo"), ':', false);
                    EXPECT_TRUE(hasText(ai.getString("SuccessApply"), useRoom)) << section;
                }
                for (const char* key : {"QuestItemsToFind", "MustClickItems", "MustUseItems"})
                    for (const std::string& item : list(ai, key))
                        EXPECT_TRUE(items.count(item)) << section << " " << item;
                // "room:item", or a word the rooms read: used where it lies, or kept out of the
                // inventory.
                const std::string target = ai.hasKey("UseTo") ? ai.getString("UseTo") : "";
                const size_t colon = target.find(':');
                const std::string targetItem = target.substr(colon + 1);
                if (!target.empty() && targetItem != "ONESELF" && targetItem != "NONE") {
                    ASSERT_NE(colon, std::string::npos) << target;
                    EXPECT_TRUE(caseHas(c, target.substr(0, colon))) << target;
                    EXPECT_TRUE(itemNames(c, target.substr(0, colon)).count(targetItem)) << target;
                }
            }
        }

        const aOptionsFile investigation(folder(c) + "_investigation.ini");
        EXPECT_EQ(investigation.getValue("Personages", "PersonagesList"), c.personage);
        EXPECT_EQ(investigation.getValue("Personages", "StartPersonages"), c.personage);
        aOptionsFile ai(folder(c) + c.personage + ".ai");
        ASSERT_TRUE(ai.selectSection("INVESTIGATION"));
        EXPECT_TRUE(hasText(ai.getString("InvTask"), c.name));
        // The case's must-do lists add up over its sections.
        for (ai.first(); !ai.isEnd(); ai.nextSection()) {
            EXPECT_EQ(ai.getSectionName(), "INVESTIGATION");
            for (const char* key : {"MustClickItems", "MustUseItems", "EvidencesToFind"}) {
                for (const std::string& item : list(ai, key)) {
                    bool found = false;
                    for (const std::string& room : rooms)
                        found = found || itemNames(c, room).count(item);
                    EXPECT_TRUE(found) << item;
                }
            }
        }
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// Each line the notepad's task lists show has its text: the case's tasks among the investigation's
// texts, a room's tasks and hidden objects among the room's, a group of hidden objects once for each
// count that may be left of it. A room's lists add up over its "ROOM" sections.
TEST_F(DemoRooms, EveryTaskOnTheNotepadHasItsText) {
    for (const DemoCase& c : cases()) {
        SCOPED_TRACE(c.name);
        for (aOptionsFile investigation(folder(c) + c.personage + ".ai"); !investigation.isEnd();
             investigation.nextSection())
            for (const char* key : {"MustClickItems", "MustUseItems", "EvidencesToFind"})
                for (const std::string& item : list(investigation, key))
                    EXPECT_TRUE(hasText(item, c.name)) << item;
        for (const std::string& room : scenesOf(c)) {
            SCOPED_TRACE(room);
            for (aOptionsFile ai(folder(c) + room + "/" + c.personage + ".ai"); !ai.isEnd();
                 ai.nextSection()) {
                if (ai.getSectionName() != "ROOM")
                    continue;
                for (const char* key : {"QuestItemsToFind", "MustClickItems", "MustUseItems"})
                    for (const std::string& item : list(ai, key))
                        EXPECT_TRUE(hasText(item, room)) << item;
            }
            for (aOptionsFile items(folder(c) + room + "/items.ini"); !items.isEnd(); items.nextSection()) {
                if (!items.hasKey("IsISpyItem") || items.getString("IsISpyItem") == "0")
                    continue;
                const std::string name = items.getSectionName();
                const size_t objects = list(items, "Object").size();
                if (objects < 2) {
                    EXPECT_TRUE(hasText(name, room)) << name;
                    continue;
                }
                for (size_t left = 1; left <= objects; ++left)
                    EXPECT_TRUE(hasText(name + "_" + std::to_string(left), room)) << name << " " << left;
            }
        }
    }
}

// The story events of each case: each of a known class, in a room of the case, after events that
// exist earlier in the file, with a text, and with completion entries that name the case's personage
// and rooms or items of the case; a comic scene has its pages. Each case is won and then closed, the
// last one with the story's end.
TEST_F(DemoRooms, StoryEventsNameRoomsEventsItemsTextsAndPagesThatExist) {
    for (const DemoCase& c : cases()) {
        SCOPED_TRACE(c.name);
        aOptionsFile events(folder(c) + "_events.ini");
        NameSet names, earlier;
        for (events.first(); !events.isEnd(); events.nextSection())
            names.insert(events.getString("EventName"));
        std::vector<std::string> classes;
        for (events.first(); !events.isEnd(); events.nextSection()) {
            const std::string name = events.getString("EventName");
            SCOPED_TRACE(name);
            classes.push_back(events.getSectionName());
            EXPECT_TRUE(CSpyEventsManager::CreateEvent(events.getSectionName()));
            if (events.hasKey("Location")) {
                EXPECT_TRUE(caseHas(c, events.getString("Location")));
            }
            // An event waits only for events before it in the file.
            for (const std::string& after : list(events, "AfterEvents"))
                EXPECT_TRUE(earlier.count(after)) << after;
            earlier.insert(name);
            if (events.hasKey("TextId")) {
                EXPECT_TRUE(hasText(events.getString("TextId"), c.name));
            }
            // "@personage:room:item" asks the personage, "room:item" the item's own win flag.
            for (std::string entry : list(events, "WinItemsList")) {
                const bool asksPersonage = entry.starts_with("@");
                if (asksPersonage) {
                    ASSERT_TRUE(entry.starts_with("@" + c.personage + ":")) << entry;
                    entry = entry.substr(c.personage.size() + 2);
                }
                const std::string room = before(entry, ':', false), item = entry.substr(room.size() + 1);
                EXPECT_TRUE(caseHas(c, room)) << entry;
                if (asksPersonage) {
                    EXPECT_TRUE(item == "TASK" || itemNames(c, room).count(item)) << entry;
                } else {
                    aOptionsFile items(folder(c) + room + "/items.ini");
                    EXPECT_TRUE(items.hasSectionKey(item, "IsWinItem")) << entry;
                }
            }
            if (events.hasKey("ComicsName")) {
                EXPECT_TRUE(
                    file_existsPlain(folder(c) + "Comics/" + events.getString("ComicsName") + "_p1.jpg"));
            }
            if (events.getSectionName() == "InvestigationWin") {
                EXPECT_EQ(events.hasKey("IsEndGame"), c.name == cases().back().name);
            }
        }
        EXPECT_EQ(names.size(), classes.size());
        ASSERT_GE(classes.size(), 2u);
        EXPECT_EQ(std::vector<std::string>(classes.end() - 2, classes.end()),
                  (std::vector<std::string>{"InvestigationWin", "InvestigationClose"}));
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// The rooms every investigation shares, which the game registers at start, and the demo's
// evidence box and comic pages.
TEST_F(DemoRooms, SharedRoomsCardAndComicPagesLoad) {
    testGraphServer(); // the application brings a file server of its own
    setAssigns();
    logs.clear();
    aImageManager images;
    aSoundManager sounds;
    const DemoCase& demo = cases()[0];
    struct Shared {
        std::string folder, cls;
    };
    const std::vector<Shared> shared = {{"investigations:_GlobalMap/", "GlobalMap"},
                                        {"investigations:_InvestigationCards/", "InvCards"},
                                        {folder(demo) + kEvidenceBox + "/", "EvidenceBox"}};
    std::map<std::string, aOptionsFile> items;
    for (const Shared& room : shared) {
        SCOPED_TRACE(room.folder);
        EXPECT_EQ(aOptionsFile(room.folder + "room.ini").getValue("Room", "Class"), room.cls);
        const NameSet pictures = keys({room.folder + "Images/_images.list", "", ListKind::Images, false});
        images.loadList(room.folder + "Images/_images.list", room.cls);
        EXPECT_TRUE(images.getImage("background", room.cls));
        NameSet objects;
        for (aOptionsFile ini(room.folder + "objects.ini"); !ini.isEnd(); ini.nextSection()) {
            objects.insert(ini.getSectionName());
            EXPECT_TRUE(pictures.count(ini.getString("Image"))) << ini.getSectionName();
        }
        items[room.cls].load(room.folder + "items.ini");
        for (aOptionsFile& ini = items[room.cls]; !ini.isEnd(); ini.nextSection())
            EXPECT_TRUE(objects.count(ini.getString("Object"))) << ini.getSectionName();
    }

    // Each place on the map is a door to a room of one case, whose personage may use it; a case's
    // personage may use the doors to its own rooms, and only those. Every case has a place.
    sounds.loadList("investigations:_GlobalMap/Sounds/_sounds.list", "_GlobalMap");
    EXPECT_TRUE(sounds.hasSound("cursor_hover_icon", "_GlobalMap"));
    texts.loadFile("language:Investigations/_GlobalMap/items.txt", "_GlobalMap");
    std::map<std::string, int> doorsOfCase;
    aOptionsFile& map = items["GlobalMap"];
    for (map.first(); !map.isEnd(); map.nextSection()) {
        const std::string door = map.getSectionName();
        SCOPED_TRACE(door);
        EXPECT_EQ(map.getString("Class"), "Door");
        EXPECT_TRUE(hasText(door, "_GlobalMap"));
        int owners = 0;
        for (const DemoCase& c : cases()) {
            aOptionsFile ai(folder(c) + "GlobalMap.AI/" + c.personage + ".ai");
            const bool own = caseHas(c, map.getString("UseRoom"));
            EXPECT_EQ(ai.selectSection(door), own) << c.name;
            if (own) {
                EXPECT_EQ(ai.getString("UseTo"), "ONESELF");
                ++doorsOfCase[c.name];
                ++owners;
            }
        }
        EXPECT_EQ(owners, 1);
    }
    EXPECT_EQ(doorsOfCase, (std::map<std::string, int>{{"Demo", 2}, {"Lab", 1}, {"Town", 1}}));

    // A card's thumbnail shows only beside a visible "<Group>_OPENED" item; its picture is a JNG.
    aOptionsFile& cards = items["InvCards"];
    ASSERT_TRUE(cards.selectSection("ICO_LETTER"));
    ASSERT_TRUE(cards.selectSection(cards.getString("Group") + "_OPENED"));
    EXPECT_TRUE(!cards.hasKey("Visible") || cards.getInt("Visible") != 0);
    aImage card("investigations:_InvestigationCards/InvCards/LETTER.jng", 0, 0);
    EXPECT_EQ(card.getWidth(), 320);
    EXPECT_EQ(card.getHeight(), 280);

    // The box holds the evidence of the case, hidden until handed in.
    aOptionsFile investigation(folder(demo) + demo.personage + ".ai");
    ASSERT_TRUE(investigation.selectSection("INVESTIGATION"));
    const std::vector<std::string> evidence = list(investigation, "EvidencesToFind");
    aOptionsFile& box = items["EvidenceBox"];
    for (box.first(); !box.isEnd(); box.nextSection()) {
        EXPECT_TRUE(std::count(evidence.begin(), evidence.end(), box.getSectionName()))
            << box.getSectionName();
        EXPECT_EQ(box.getString("Visible"), "0");
    }

    // Two pages, counted to the first gap.
    for (const char* page : {"Intro_p1.jpg", "Intro_p2.jpg"}) {
        aImage picture(folder(demo) + "Comics/" + page, 0, 0);
        EXPECT_EQ(picture.getWidth(), 1024) << page;
        EXPECT_EQ(picture.getHeight(), 768) << page;
    }
    EXPECT_FALSE(file_existsPlain(folder(demo) + "Comics/Intro_p3.jpg"));
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// The town garden's puzzles: each room of its class, holding the items, sections and sounds its class
// looks up, its numbers readable as the class reads them, and the garden's finds each going where
// they are used.
TEST_F(DemoRooms, TheGardenPuzzlesHoldWhatTheirClassesLookUp) {
    const DemoCase& town = cases()[2];
    ASSERT_EQ(town.name, "Town");
    const std::vector<Puzzle> puzzles = {
        {"zoom_CrabPuzzle",
         "CrabPuzzleRoom",
         {"APPLE", "PROBKA", "SIGARETY", "ZIPPO", "APPLE_DYR", "PROBKA_DYR", "SIGARETY_DYR", "ZIPPO_DYR",
          "TARGET_DYR", "CRAB", "CRAB_BEZ_CRISTALA", "CRISTAL", "PALKA", "PALKA1", "PALKA2"},
         {"CrabPuzzleRoomOptions", "CrabPuzzleRoomCoords"},
         {"crab_movement", "crab_catch", "crab_earring_drop"}},
        {"zoom_GardenRose",
         "GardenRoseRoom",
         {"LEAF", "LEAF2", "LEAF_SHADOW", "LISTBUG1", "LISTBUG2", "BUG1", "BUG2", "ROSE", "CENTER", "BLOOD",
          "PETAL1", "PETAL2"},
         {"BugsSettings", "Rose", "Animation", "PhysEngine", "LEAF", "LEAF2", "PETAL1", "PETAL2"},
         {"leaves_bug_put"}},
        {"zoom_NetPuzzle",
         "cNetPuzzleRoom",
         {"ROPE1", "ROPE2", "ROPE3", "ROPE4", "PELUNA_KEYS"},
         {"Lines"},
         {"rope_removed", "rope_wrong"}},
        {"zoom_Warehouse",
         "WarehouseRoom",
         {"PULT", "PULT_LOCK", "KRUK", "LUCH", "LIGHT_ON", "DUST", "LASTWIN_ITEM"},
         {"Timers", "Kruk", "PhysEngine", "KRUK"},
         {"warehouse_hook_falloff"}},
        {"zoom_SandCleaning",
         "RoomCleaning",
         {"SAND", "TATU", "PATCH1", "PATCH2"},
         {"Clearing"},
         {"sand_cleaning"}},
    };
    logs.clear();
    expectPuzzles(town, puzzles);
    // The rose's and the warehouse's numbers are read strictly: every one is a number.
    for (const auto& [room, sections] :
         {std::pair{"zoom_GardenRose", std::vector<std::string>{"Animation", "PhysEngine"}},
          std::pair{"zoom_Warehouse", std::vector<std::string>{"Timers", "PhysEngine"}}}) {
        aOptionsFile ini(folder(town) + room + "/room.ini");
        for (const std::string& section : sections) {
            ASSERT_TRUE(ini.selectSection(section));
            std::vector<std::string> keys;
            for (ini.firstKey(); !ini.isKeysEnd(); ini.nextKey())
                if (ini.getKeyName() != "Items")
                    keys.push_back(ini.getKeyName());
            EXPECT_FALSE(keys.empty());
            for (const std::string& key : keys) {
                f32 value = 0;
                EXPECT_TRUE(ReadStrictFloat(ini, key, value, room)) << key;
            }
        }
    }
    // Each of the garden's finds is used in a close-up of the garden.
    aOptionsFile garden(folder(town) + "room_Garden/Corwin.ai");
    for (const char* find : {"APPLE", "CORK", "PACKET_OF_CIGARETTES", "LIGHTER", "TWIG", "BRUSH"}) {
        ASSERT_TRUE(garden.selectSection(find)) << find;
        const std::string target = garden.getString("UseTo");
        const std::string room = before(target, ':', false);
        EXPECT_TRUE(room == "zoom_CrabPuzzle" || room == "zoom_SandCleaning") << target;
        EXPECT_TRUE(itemNames(town, room).count(target.substr(room.size() + 1))) << target;
    }
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// The town's sliding tiles and dark desk: each room of its class with what its class looks up; the
// desk's light is the torch of the square, and each room's win item is one the case waits for.
TEST_F(DemoRooms, TheTilesAndTheDeskHoldWhatTheirClassesLookUp) {
    const DemoCase& town = cases()[2];
    ASSERT_EQ(town.name, "Town");
    logs.clear();
    expectPuzzles(
        town,
        {{"zoom_Tiles",
          "PiatnashkiRoom",
          {"CELL11", "CELL12", "CELL13", "CELL21", "CELL22", "CELL23", "LID", "CARD"},
          {"Options"},
          {"heartbox_figure_move", "heartbox_open"}},
         {"zoom_Table", "TanPheisRoom", {"BEAM", "PRINT", "PRINT2"}, {"OPTIONS"}, {"flashlight_turn"}}});
    aOptionsFile desk(folder(town) + "zoom_Table/room.ini");
    EXPECT_TRUE(itemNames(town, "room_Town").count(desk.getValue("OPTIONS", "ItemOnCursor.name")));
    aOptionsFile events(folder(town) + "_events.ini");
    std::string waited;
    for (events.first(); !events.isEnd(); events.nextSection())
        if (events.hasKey("WinItemsList"))
            waited += events.getString("WinItemsList") + ",";
    for (const char* win : {"zoom_Tiles:CARD", "zoom_Table:PRINT2"})
        EXPECT_NE(waited.find(std::string(win) + ","), std::string::npos) << win;
    EXPECT_EQ(logs.messages(), std::vector<std::string>());
}

// The puzzle box and the figurines: each room of its class with the items, sections and sounds it
// looks up; the jade disk of the square is the box's missing disk; the figurines' names end with
// their section's number.
TEST_F(DemoRooms, TheBoxAndTheFigurinesHoldWhatTheirClassesLookUp) {
    const DemoCase& town = cases()[2];
    ASSERT_EQ(town.name, "Town");
    const std::vector<Puzzle> puzzles = {
        {"zoom_Box",
         "ChineseBoxPuzzleRoom",
         {"COVER", "LIGHTS", "BOXISOPEN", "DISK1", "DISK2", "ELEMENT1"},
         {"Angles", "Connections", "Timer", "AutoRotate"},
         {"chinbox_rotating", "chinbox_putitem", "chinbox_clickitem", "chinbox_itemvalidated",
          "chinbox_open"}},
        {"zoom_Figures",
         "ChineseFigurinePuzzleRoom",
         {"FIGURE1", "FIGURE2", "FIGURE3", "COIN"},
         {"FIGURES", "FIGURE_1", "FIGURE_2", "FIGURE_3"},
         {"chinfigure_select", "chinfigure_swap", "chinfigure_win"}},
    };
    expectPuzzles(town, puzzles);
    aOptionsFile box(folder(town) + "zoom_Box/room.ini");
    EXPECT_EQ(box.getValue("Connections", "DISK2"), "JADE");
    EXPECT_TRUE(itemNames(town, "room_Town").count("JADE"));
    aOptionsFile figures(folder(town) + "zoom_Figures/room.ini");
    EXPECT_EQ(figures.getValue("FIGURES", "ItemToShow"), "zoom_Figures:COIN");
    for (int n = 1; n <= 3; ++n)
        EXPECT_EQ(figures.getValue("FIGURE_" + std::to_string(n), "name"), "FIGURE" + std::to_string(n));
}
