#pragma once
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/cAnimValueChanger.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "tk2v/gfx/aFont.h"

#include <list>
#include <map>
#include <string>
#include <vector>

// The chemistry bench: the player lifts a bottle into the big view, fills the pipette from it, drops
// the sample onto the dish and ticks, on the computer's checklist, the colour and the reaction it gave.
// The bottles must be dropped in their order, and a further bottle is lifted only once the rows of the
// bottles dropped so far are ticked, and ticked right; every bottle ticked right finishes the test.
class cRecordReader;

class cBasePoizonPuzzle2 : public CRoomBase {
public:
    static const char* GetClassStaticName() { return "BasePoizonPuzzle"; }

    cBasePoizonPuzzle2();
    ~cBasePoizonPuzzle2() override;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;
    std::string GetClassName() const override { return GetClassStaticName(); }
    void AfterLoadInit() override;
    void Reset() override;
    void Enter(const std::string& entryName, CSpyItem* entryItem) override;
    u32 FrameMove(f32 dt, bool paused) override;
    void Render() override;
    void SetItemOnCursor(CSpyItem* item, CSpyItem* roomForm,
                         std::optional<SpyPoint> grabOffset = std::nullopt) override;
    bool ProcessAutoActions() override;
    void HandleCursorItemInput(f32 dt) override;
    void HandleInput(f32 dt) override;
    bool OnClickUseItem() override;
    void StopAmbient() override;

    // 0 none, 1 fizz, 2 boil, 3 smoke: the effect's name in any ASCII case; any other text is 0.
    static u32 EffectCode(const std::string& name);

protected:
    // What a drop shows on the dish.
    struct Reaction {
        std::string color;
        u32 effect = 0;
    };
    // One row of a checklist: the clone that marks the chosen cell, and the chosen column (-1: none).
    struct CellMark {
        CSpyItem* markItem = nullptr;
        i32 column = -1;
    };
    // Cell points of a checklist, room-local, one vector a row.
    using CellGrid = std::vector<std::vector<SpyPoint>>;
    // Ordered by name, so that a save lists them alike in every run.
    struct ByName {
        bool operator()(const CSpyItem* a, const CSpyItem* b) const;
    };
    using BottleMap = std::map<CSpyItem*, CSpyItem*, ByName>;

    virtual void UpdatePuzzle(f32 dt);
    virtual void LoadCellTables();
    virtual bool CheckCheckerOnPC(i32 x, i32 y, const CellGrid& grid, std::vector<CellMark>& marks);
    virtual void OnErrorReaction();
    virtual void OnCheckResults(bool hasError, bool incomplete);
    virtual void OnResultsWrong() {}
    virtual void OnResultsCorrect() { FinishTest(); }
    virtual void FinishTest();
    virtual bool IsReadyForSample() { return true; }
    virtual void SetBenchShown(bool shown);
    virtual void MoveSelection(size_t row);
    virtual void OnChecklistIncomplete() {}
    virtual void OnNotTested() { ShowMessage("MESSAGE_NOTTESTEED"); }

    void LoadCellTable(const std::string& section, CellGrid& grid, std::list<std::string>& names,
                       std::vector<CellMark>& marks);
    void PlaceBottles();
    void DrawReactions();
    void DescribeBottles();
    CSpyItem* LiftBottle(CSpyItem& bottle);
    void OnAddFromPipetkaToTarelka();
    void ShowReaction(const Reaction& reaction, bool animate);
    void PlayReactionSound(u32 effect);
    void TakePipette();
    void PutPipetteBack();
    void HideCheckMarks();
    bool IsDishTarget(const CSpyItem* item) const;
    // A bottle of the rack; the frame's and the click's variant also takes the big view.
    bool IsBenchItem(const CSpyItem* item, bool orBigView = false) const;
    void ShowBenchItem(CSpyItem* item, bool shown);
    bool AreChecklistsFilled(const std::vector<CellMark>& marks) const;
    void CompareChecklists(bool& incomplete, bool& hasError) const;
    bool CheckTestResults();
    void EvaluateChecklists();
    // The message templates of the bottle descriptions: literal and "%n%" pieces, filled and joined.
    void SplitTemplate(const std::wstring& text);
    void SetTemplateValue(const std::wstring& key, const std::wstring& value);
    void SetTemplateValue(u32 key, const std::wstring& value);
    // Every piece that is the placeholder ("%" + key + "%") becomes the value.
    void ReplacePlaceholder(const std::wstring& placeholder, const std::wstring& value);
    std::wstring JoinTemplate() const;
    // The room's own text of that id.
    std::wstring RoomText(const std::string& id) const;
    // The room's item of that name without a log line; null when it has none.
    CSpyItem* FindItem(const std::string& name);
    // The item's label, "T" + its name, when the room has one.
    CSpyItem* LabelOf(const CSpyItem& item);
    void PlaySound(const std::string& name, bool loop = false) const;
    // Null items count as hidden and take no showing.
    static bool IsShown(const CSpyItem* item);
    static void Show(CSpyItem* item, bool shown);
    // The left button went down in this frame.
    static bool LeftPressed();
    void LoadBottleMap(cRecordReader& in);
    static void LoadGrid(cRecordReader& in, CellGrid& grid);
    void LoadReactions(cRecordReader& in);

    // Read by AfterLoadInit, not saved.
    std::map<std::string, std::string> colorImages;
    CRoomBase* bottleRoom = nullptr;
    aFont bigFont;
    cRoomTransform roomTransform;

    // Play state and the lists it refers to, in record order.
    CSpyItem* dishItem = nullptr;
    std::list<CSpyItem*> dishDrops;
    CSpyItem* cursorPipette = nullptr;
    CSpyItem* pipetteFullItem = nullptr;
    CSpyItem* pipetteItem = nullptr;
    CSpyItem* tablePipetteItem = nullptr;
    CSpyItem* filledFrom = nullptr;
    f32 pickupX = 0, pickupY = 0;
    u8 pipetteInHand = 0;
    BottleMap positionToBottle;
    std::list<std::string> orderList;
    std::vector<u16> bottleOrder;
    CSpyItem* colorImageItem = nullptr;
    // The picked pair: the bottle now in the big view (or put back last), and the big view itself.
    CSpyItem* fillCandidatePosition = nullptr;
    CSpyItem* fillCandidate = nullptr;
    Reaction dishReaction;
    f32 dishTimer = 0;
    CSpyItem* monitorItem = nullptr;
    CSpyItem* lastCellItem = nullptr;
    CSpyItem* bigFsItem = nullptr;
    std::list<std::string> colorCellNames;
    std::list<std::string> effectCellNames;
    std::list<std::string> screenOrder;
    std::vector<std::string> sampleNames;
    std::vector<std::wstring> aboutTexts;
    std::vector<std::wstring> nameTexts;
    std::list<std::string> colors;
    std::list<std::string> effects;
    CellGrid colorGrid;
    CellGrid effectGrid;
    std::vector<CellMark> colorMarks;
    std::vector<CellMark> effectMarks;
    u8 blocked = 0;
    u8 testDone = 0;
    u8 incomplete = 0;
    CSpyItem* selectionItem = nullptr;
    f32 selectionDeltaY = 0;
    std::wstring reactionText;
    CSpyItem* effectItem = nullptr;
    cAnimValueChanger errorAnimator;
    u8 reservedFlag = 0;
    u8 checklistLocked = 0;
    u8 needsEnable = 0;
    // Its effect stays a name, turned into a code when shown.
    struct NamedReaction {
        std::string color;
        std::string effect;
    } errorReaction;
    std::list<std::wstring> dropTemplate;
    CSpyItem* submitItem = nullptr;
    u8 reshuffle = 1;
    std::map<std::string, Reaction> reactions;
    std::string loopSound;
};
