#pragma once
#include "tk2v/util/types.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class aFont;
class aImage;
class aImageManager;
class aOptionsFile;
class aTrajectory;

// The credits roll: lines of text and images that glide along paths or fade in and out in place,
// grouped into blocks that start one after another, all read from one script.
class UCredits {
public:
    // How an item moves: along a path at a speed, or standing at (x, y) and fading.
    struct Motion {
        Motion() = default;
        Motion(const Motion& other);
        Motion& operator=(const Motion& other);
        ~Motion();

        std::unique_ptr<aTrajectory> trajectory;
        f32 speed = 20.0f;
        i32 x = 512, y = 384;
        f32 fadeUpTime = 0.5f, fadeDownTime = 0.5f, period = 2.0f;
    };
    struct Style {
        aFont* font = nullptr;
        f32 size = 1.0f;
        u32 color = 0xFFFFFFFF;
    };
    enum Status : i32 { IDLE = 1, RUNNING = 2, TRIGGERED = 4, FINISHED = 8 };
    enum FadePhase : i32 { FADING_IN = 0, FADING_OUT = 1, HOLDING = 2, CLOSING = 3 };
    struct Item {
        std::wstring text;
        aImage* image = nullptr;
        Motion motion;
        Style style;
        bool intervalAsPix = true;
        f32 interval = 0;
        i32 alignH = 0;
        f32 angle = 0;
        i32 status = IDLE;
        i32 fadePhase = FADING_IN;
        f32 fadeClock = 0;
        f32 alpha = 0;
        i32 triggerLine = 0;
        bool triggerFired = false;
    };
    struct Block {
        std::vector<std::unique_ptr<Item>> items;
        i32 startAfter = -1;
        f32 startAfterTime = -1.0f;
        f32 timer = 0;
        bool labelled = false;
        // 1 waiting, 0 running, -1 finished.
        i32 pending = 1;
    };

    UCredits(const std::string& scriptFile, aImageManager* images);
    ~UCredits();
    UCredits(const UCredits&) = delete;
    UCredits& operator=(const UCredits&) = delete;

    // Back to the beginning: the first block runs.
    void Start();
    // True when no block is running: the roll is over.
    bool Update(f32 dt);
    void Render();

    const std::vector<std::unique_ptr<Block>>& getBlocks() const { return m_blocks; }
    // The pixels of an item's height: what it draws; 0 for a text without a font or a missing image.
    static i32 itemHeight(const Item& item);
    static i32 itemGap(const Item& item);

private:
    void readFonts(aOptionsFile& file);
    void readStyle(aOptionsFile& file);
    void readTrajectory(aOptionsFile& file);
    void readLoc(aOptionsFile& file);
    void readMain(aOptionsFile& file);
    void applyKey(const std::string& key, const std::string& value);
    void addItem(std::unique_ptr<Item> item);
    void closeBlock();

    void activate(size_t index, bool cascade);
    void activateSuccessor(size_t index);
    // The item's status after this update.
    i32 updateItem(Item& item, f32 dt);
    static void updateFade(Item& item, f32 dt);
    void renderItem(Item& item);

    aImageManager* m_images;
    // What the script has set so far, copied into each new item.
    Block m_building;
    bool m_inBlock = false;
    Motion m_motion;
    Style m_style;
    bool m_intervalAsPix = true;
    f32 m_interval = 0;
    f32 m_angle = 0;
    i32 m_alignH = 0, m_alignV = 0;
    std::string m_imageGroup;
    Item* m_lastItem = nullptr;

    std::map<std::string, std::unique_ptr<aFont>> m_fonts;
    std::map<std::string, Style> m_styles;
    std::map<std::string, Motion> m_motions;
    std::map<std::string, i32> m_labels;
    std::vector<std::unique_ptr<Block>> m_blocks;
};
