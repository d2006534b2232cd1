// The crime lab's chemistry bench and its bottle rack, 12 bottles, each figure beside its baseline in
// the same run:
//  - the bench's Reset with a fresh draw (cCrimeLabMain::Reset: the room base's reset, the bottle
//    order, the bottles placed and labelled, the colour and effect draws, every description's template
//    split, filled and joined, the rack's SetOrder, the checklist's marks hidden) beside the same steps
//    written as one plain function over the same room: the room base's reset, the same name lookups,
//    MakeRandomSequence for the order and both draws, the templates split, filled and joined with
//    std::wstring, the same SetText and SetPos calls and the rack's SetOrder (target: within 1.3x);
//  - an exchange click on the rack (cCrimeLabButtles::OnClickUseItem with a bottle selected: the two
//    places' texts exchanged on the rack and on the bench, the swap sound's lookup, the win test, the
//    room base's click-use) beside the same eight SetText, four namesake lookups on the bench, the
//    sound's lookup, the place comparison and the room base's click-use written plainly (target:
//    within 1.3x);
//  - the lab's record saved and loaded (the room base's part, the bench's and the blood test's, two
//    samples) beside the same fields through one flat sequence of the stream's field writers and
//    readers, SaveItemRef/LoadItemRef and SaveWideText/LoadWideText (target: within 1.3x); and the
//    same for the bench's test room after a test of its two bottles (the room base's part and the
//    bench's).
// Each save appends the record to a stream in memory through SaveEntity; each load reads it from a
// record in memory; both sides read the same bytes.
// Both sides of each pair run on the same room, reset to the same state.
#include "BenchFolder.h"
#include "BenchRatio.h"
#include "BenchRecord.h"
#include "game/CResManager.h"
#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CPersonagesManager.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/ItemRefs.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabMain.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "game/SpyGame/WideTextField.h"
#include "support/game/BenchTestRoom.h"
#include "support/game/TestRoomsManager.h"
#include "tk2v/file/aFileServer.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/gfx/aGraphServer.h"
#include "tk2v/platform/Random.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

constexpr int kBottles = 12;
constexpr const char* kBench = "zoom_CrimeLabMain";
constexpr const char* kRack = "zoom_CrimeLabButtles";

std::string bottle(int i) {
    return std::string("B").append(std::to_string(i + 1));
}

// The rack, with the plain exchange of its two first places beside its own click.
struct Rack : cCrimeLabButtles {
    void Select(size_t place) { selectedSlot = &slots[place]; }
    void ClickOn(size_t place) {
        m_pItemUnderCursor = slots[place].bottleItem;
        OnClickUseItem();
    }
    CRoomBase* Bench() const { return linkedRoom; }
    // The selected and the clicked place exchanged by hand: texts on the rack and the bench's
    // namesakes, the sound found, the places compared, the room base's click-use.
    void PlainExchange(size_t a, size_t b) {
        CSpyItemManager& bench = linkedRoom->GetItemManager();
        for (auto [x, y] : {std::pair{slots[a].bottleItem, slots[b].bottleItem},
                            std::pair{slots[a].labelItem, slots[b].labelItem}}) {
            const std::wstring kept = x->GetText(), given = y->GetText();
            x->SetText(given);
            if (bench.HasItem(x->GetName()))
                bench.GetItem(x->GetName())->SetText(given);
            y->SetText(kept);
            if (bench.HasItem(y->GetName()))
                bench.GetItem(y->GetName())->SetText(kept);
        }
        benchmark::DoNotOptimize(GetSound("buttles_swap"));
        bool sorted = true;
        for (const ButtleSlot& slot : slots)
            sorted = sorted && slot.labelItem->GetText() == slot.expectedText;
        benchmark::DoNotOptimize(sorted);
        m_pItemUnderCursor = slots[b].bottleItem;
        CRoomBase::OnClickUseItem();
    }
};

// The bench's part of a record written and read as one flat sequence of the stream's field writers
// and readers, reference calls and text fields, beside the room's own SaveSelf and LoadSelf.
template <class Room> struct PlainBenchRecord : Room {
    using Room::aboutTexts;
    using Room::bigFsItem;
    using Room::blocked;
    using Room::bottleOrder;
    using Room::checklistLocked;
    using Room::colorCellNames;
    using Room::colorGrid;
    using Room::colorImageItem;
    using Room::colorMarks;
    using Room::colors;
    using Room::cursorPipette;
    using Room::dishDrops;
    using Room::dishItem;
    using Room::dishReaction;
    using Room::dishTimer;
    using Room::dropTemplate;
    using Room::effectCellNames;
    using Room::effectGrid;
    using Room::effectItem;
    using Room::effectMarks;
    using Room::effects;
    using Room::errorAnimator;
    using Room::errorReaction;
    using Room::fillCandidate;
    using Room::fillCandidatePosition;
    using Room::filledFrom;
    using Room::incomplete;
    using Room::lastCellItem;
    using Room::loopSound;
    using Room::m_pRoomsManager;
    using Room::monitorItem;
    using Room::nameTexts;
    using Room::needsEnable;
    using Room::orderList;
    using Room::pickupX;
    using Room::pickupY;
    using Room::pipetteFullItem;
    using Room::pipetteInHand;
    using Room::pipetteItem;
    using Room::positionToBottle;
    using Room::reactions;
    using Room::reactionText;
    using Room::reservedFlag;
    using Room::reshuffle;
    using Room::sampleNames;
    using Room::screenOrder;
    using Room::selectionDeltaY;
    using Room::selectionItem;
    using Room::submitItem;
    using Room::tablePipetteItem;
    using Room::testDone;
    using typename Room::CellGrid;
    using typename Room::CellMark;
    using typename Room::Reaction;
    u8* PlainBenchSave(SaveLoadSystem& sys, u8* pos) {
        pos = CRoomBase::SaveSelf(sys, pos);
        pos = SaveItemRefList(sys, SaveItemRef(sys, pos, dishItem), dishDrops);
        for (CSpyItem* item : {cursorPipette, pipetteFullItem, pipetteItem, tablePipetteItem, filledFrom})
            pos = SaveItemRef(sys, pos, item);
        pos = sys.writeU8(sys.writeF32(sys.writeF32(pos, pickupX), pickupY), pipetteInHand);
        pos = sys.writeU32(pos, u32(positionToBottle.size()));
        for (const auto& [position, bottleItem] : positionToBottle)
            pos = SaveItemRef(sys, SaveItemRef(sys, pos, position), bottleItem);
        pos = putList(sys, pos, orderList);
        pos = sys.writeU32(pos, u32(bottleOrder.size()));
        for (u16 value : bottleOrder)
            pos = sys.writeU16(pos, value);
        for (CSpyItem* item : {colorImageItem, fillCandidatePosition, fillCandidate})
            pos = SaveItemRef(sys, pos, item);
        pos = sys.writeF32(sys.writeU32(sys.writeString(pos, dishReaction.color), dishReaction.effect),
                           dishTimer);
        for (CSpyItem* item : {monitorItem, lastCellItem, bigFsItem})
            pos = SaveItemRef(sys, pos, item);
        pos = putList(sys, putList(sys, putList(sys, pos, colorCellNames), effectCellNames), screenOrder);
        pos = putList(sys, pos, sampleNames);
        pos = putList(sys, putList(sys, pos, aboutTexts), nameTexts);
        pos = putList(sys, putList(sys, pos, colors), effects);
        for (const CellGrid* grid : {&colorGrid, &effectGrid}) {
            pos = sys.writeU32(pos, u32(grid->size()));
            for (const auto& row : *grid) {
                pos = sys.writeU32(pos, u32(row.size()));
                for (const SpyPoint& cell : row)
                    pos = sys.writeF32(sys.writeF32(pos, cell.x), cell.y);
            }
        }
        for (const std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
            for (const CellMark& mark : *marks)
                pos = sys.writeI32(SaveItemRef(sys, pos, mark.markItem), mark.column);
        pos = sys.writeU8(sys.writeU8(sys.writeU8(pos, blocked), testDone), incomplete);
        pos = sys.writeF32(SaveItemRef(sys, pos, selectionItem), selectionDeltaY);
        pos = SaveItemRef(sys, SaveWideText(sys, pos, reactionText), effectItem);
        pos = errorAnimator.SaveSelf(sys, pos);
        pos = sys.writeU8(sys.writeU8(sys.writeU8(pos, reservedFlag), checklistLocked), needsEnable);
        pos = sys.writeString(sys.writeString(pos, errorReaction.color), errorReaction.effect);
        pos = putList(sys, pos, dropTemplate);
        pos = sys.writeU8(SaveItemRef(sys, pos, submitItem), reshuffle);
        pos = sys.writeU32(pos, u32(reactions.size()));
        for (const auto& [name, reaction] : reactions)
            pos = sys.writeU32(sys.writeString(sys.writeString(pos, name), reaction.color), reaction.effect);
        pos = sys.writeString(pos, loopSound);
        return pos;
    }

    const u8* PlainBenchLoad(SaveLoadSystem& sys, const u8* pos) {
        CRoomItemLookup& rooms = *m_pRoomsManager;
        pos = LoadItemRefList(rooms, sys, LoadItemRef(rooms, sys, CRoomBase::LoadSelf(sys, pos), dishItem),
                              dishDrops);
        for (CSpyItem** item :
             {&cursorPipette, &pipetteFullItem, &pipetteItem, &tablePipetteItem, &filledFrom})
            pos = LoadItemRef(rooms, sys, pos, *item);
        pos = sys.readU8(sys.readF32(sys.readF32(pos, pickupX), pickupY), pipetteInHand);
        u32 count = 0;
        pos = sys.readU32(pos, count);
        positionToBottle.clear();
        for (u32 i = 0; i < count; ++i) {
            CSpyItem *position = nullptr, *bottleItem = nullptr;
            pos = LoadItemRef(rooms, sys, LoadItemRef(rooms, sys, pos, position), bottleItem);
            positionToBottle[position] = bottleItem;
        }
        pos = getList(sys, pos, orderList);
        pos = sys.readU32(pos, count);
        bottleOrder.resize(count);
        for (u16& value : bottleOrder)
            pos = sys.readU16(pos, value);
        for (CSpyItem** item : {&colorImageItem, &fillCandidatePosition, &fillCandidate})
            pos = LoadItemRef(rooms, sys, pos, *item);
        pos =
            sys.readF32(sys.readU32(sys.readString(pos, dishReaction.color), dishReaction.effect), dishTimer);
        for (CSpyItem** item : {&monitorItem, &lastCellItem, &bigFsItem})
            pos = LoadItemRef(rooms, sys, pos, *item);
        pos = getList(sys, getList(sys, getList(sys, pos, colorCellNames), effectCellNames), screenOrder);
        pos = getList(sys, pos, sampleNames);
        pos = getList(sys, getList(sys, pos, aboutTexts), nameTexts);
        pos = getList(sys, getList(sys, pos, colors), effects);
        for (CellGrid* grid : {&colorGrid, &effectGrid}) {
            pos = sys.readU32(pos, count);
            grid->resize(count);
            for (auto& row : *grid) {
                pos = sys.readU32(pos, count);
                row.resize(count);
                for (SpyPoint& cell : row)
                    pos = sys.readF32(sys.readF32(pos, cell.x), cell.y);
            }
        }
        for (std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
            for (CellMark& mark : *marks)
                pos = sys.readI32(LoadItemRef(rooms, sys, pos, mark.markItem), mark.column);
        pos = sys.readU8(sys.readU8(sys.readU8(pos, blocked), testDone), incomplete);
        pos = sys.readF32(LoadItemRef(rooms, sys, pos, selectionItem), selectionDeltaY);
        pos = LoadItemRef(rooms, sys, LoadWideText(sys, pos, reactionText), effectItem);
        pos = errorAnimator.LoadSelf(rooms, sys, pos);
        pos = sys.readU8(sys.readU8(sys.readU8(pos, reservedFlag), checklistLocked), needsEnable);
        pos = sys.readString(sys.readString(pos, errorReaction.color), errorReaction.effect);
        pos = getList(sys, pos, dropTemplate);
        pos = sys.readU8(LoadItemRef(rooms, sys, pos, submitItem), reshuffle);
        pos = sys.readU32(pos, count);
        reactions.clear();
        for (u32 i = 0; i < count; ++i) {
            std::string name;
            Reaction reaction;
            pos = sys.readU32(sys.readString(sys.readString(pos, name), reaction.color), reaction.effect);
            reactions[name] = reaction;
        }
        pos = sys.readString(pos, loopSound);
        return pos;
    }

protected:
    // A count, then each string with its NUL or each text in 16-bit units.
    template <class List> static u8* putList(SaveLoadSystem& sys, u8* pos, const List& list) {
        pos = sys.writeU32(pos, u32(list.size()));
        for (const auto& text : list)
            if constexpr (std::is_same_v<std::decay_t<decltype(text)>, std::string>)
                pos = sys.writeString(pos, text);
            else
                pos = SaveWideText(sys, pos, text);
        return pos;
    }
    template <class List> static const u8* getList(SaveLoadSystem& sys, const u8* pos, List& list) {
        u32 count = 0;
        pos = sys.readU32(pos, count);
        list.resize(count);
        for (auto& text : list)
            if constexpr (std::is_same_v<std::decay_t<decltype(text)>, std::string>)
                pos = sys.readString(pos, text);
            else
                pos = LoadWideText(sys, pos, text);
        return pos;
    }
};

// The lab, with its reset and its record written plainly beside its own.
struct Bench : PlainBenchRecord<cCrimeLabMain> {
    void Fresh() { reshuffle = 1; }

    void PlainReset() {
        CRoomBase::Reset();
        colorImageItem = m_Items.GetItem(colorImages["NONE"]);
        SwapVisibleItem(submitItem, m_Items.GetItem("SUBMIT_ON"));
        submitItem->SetVisible(false);
        dishDrops.clear();
        const u32 n = u32(sampleNames.size());
        MakeRandomSequence(n, n, bottleOrder);
        orderList.clear();
        positionToBottle.clear();
        for (u32 i = 0; i < n; ++i) {
            const std::string& name = sampleNames[bottleOrder[i]];
            CSpyItem* item = m_Items.GetItem(name);
            item->SetText(aboutTexts[i]);
            orderList.push_back(name);
            positionToBottle[m_Items.GetItem(sampleNames[i])] = item;
            CSpyItem* label = m_Items.GetItem("T" + name);
            const SpyPoint at = item->GetPos();
            label->SetPos(at.x, at.y);
            label->SetText(nameTexts[bottleOrder[i]]);
        }
        std::vector<u16> colorDraw, effectDraw;
        MakeRandomSequence(n, 4, colorDraw, {3});
        MakeRandomSequence(n, 4, effectDraw);
        const std::vector<std::string> colorNames(colors.begin(), colors.end());
        const std::vector<std::string> effectNames(effects.begin(), effects.end());
        for (const std::string& name : screenOrder) {
            reactions[name] = {colorNames[colorDraw.back()], EffectCode(effectNames[effectDraw.back()])};
            colorDraw.pop_back();
            effectDraw.pop_back();
        }
        reshuffle = 0;
        std::vector<std::wstring> labels, places, byLabel, byPlace;
        for (u32 j = 1; j <= n; ++j) {
            labels.push_back(m_Items.GetItem("T" + sampleNames[bottleOrder[j - 1]])->GetText());
            const u32 at =
                u32(std::find(bottleOrder.begin(), bottleOrder.end(), u16(j - 1)) - bottleOrder.begin());
            places.push_back(m_pResManager->GetString("BTL_UID_" + std::to_string(at + 1), m_Name));
            byLabel.push_back(L"%" + std::to_wstring(j) + L"%");
            byPlace.push_back(L"%" + std::to_wstring(j + 2 * n) + L"%");
        }
        for (const std::string& name : orderList) {
            CSpyItem* item = m_Items.GetItem(name);
            std::vector<std::wstring> pieces;
            const std::wstring text = item->GetText();
            for (size_t from = 0; from < text.size();) {
                const size_t open = text.find(L'%', from), close = text.find(L'%', open + 1);
                if (open == std::wstring::npos || close == std::wstring::npos) {
                    pieces.push_back(text.substr(from));
                    break;
                }
                pieces.push_back(text.substr(from, open - from));
                pieces.push_back(text.substr(open, close - open + 1));
                from = close + 1;
            }
            for (u32 j = 0; j < n; ++j)
                for (std::wstring& piece : pieces) {
                    if (piece == byLabel[j])
                        piece = labels[j];
                    else if (piece == byPlace[j])
                        piece = places[j];
                }
            std::wstring joined;
            for (const std::wstring& piece : pieces)
                joined += piece;
            item->SetText(joined);
        }
        dynamic_cast<cCrimeLabButtles*>(bottleRoom)->SetOrder(bottleOrder);
        for (std::vector<CellMark>* marks : {&colorMarks, &effectMarks})
            for (CellMark& mark : *marks) {
                mark.markItem->SetVisible(false);
                mark.column = -1;
            }
        blocked = testDone = checklistLocked = 0;
        needsEnable = 1;
        tablePipetteItem->SetDisabled(true);
    }

    u8* PlainSave(SaveLoadSystem& sys, u8* pos) {
        pos = PlainBenchSave(sys, pos);
        pos = putList(sys, sys.writeU8(sys.writeU32(pos, samplesDone), resultReady), itemsToOut);
        for (CSpyItem* item : {reportItem, report2Item, labMonitorItem, winCaptionItem})
            pos = SaveItemRef(sys, pos, item);
        pos = sys.writeString(pos, taskText);
        for (const SampleInfo& sample : samples)
            pos = sys.writeU32(sys.writeString(SaveItemRef(sys, pos, sample.dish), sample.color),
                               sample.effect);
        for (const auto* all : {&sampleAboutTexts, &sampleNameTexts}) {
            pos = sys.writeU32(pos, u32(all->size()));
            for (const auto& entry : *all)
                pos = putList(sys, pos, entry);
        }
        return pos;
    }

    const u8* PlainLoad(SaveLoadSystem& sys, const u8* pos) {
        CRoomItemLookup& rooms = *m_pRoomsManager;
        pos = PlainBenchLoad(sys, pos);
        u32 count = 0;
        pos = getList(sys, sys.readU8(sys.readU32(pos, samplesDone), resultReady), itemsToOut);
        for (CSpyItem** item : {&reportItem, &report2Item, &labMonitorItem, &winCaptionItem})
            pos = LoadItemRef(rooms, sys, pos, *item);
        pos = sys.readString(pos, taskText);
        for (SampleInfo& sample : samples)
            pos = sys.readU32(sys.readString(LoadItemRef(rooms, sys, pos, sample.dish), sample.color),
                              sample.effect);
        for (auto* all : {&sampleAboutTexts, &sampleNameTexts}) {
            pos = sys.readU32(pos, count);
            all->resize(count);
            for (auto& entry : *all)
                pos = getList(sys, pos, entry);
        }
        return pos;
    }
};

// The bench's test room: two bottles, both tested.
struct TwoBottles : PlainBenchRecord<BenchTestRoom> {};

void writeTestBench(const bench::TempFolder& folder) {
    std::string objects, items;
    for (const char* name :
         {"B1", "B2", "TB1", "TB2", "BIG_FS", "TBIG_FS", "TABLE_PIPETKA", "DISH", "MARK_C", "MARK_E"}) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        objects += "[" + lower + "]\nClass = text\nWidth = 20\nHeight = 20\n";
        items += std::string("[") + name + "]\nObject = " + lower + "\n";
    }
    folder.write("zoom_Bench/room.ini",
                 "[Room]\nClass = BenchTestRoom\n[ColorCells]\ncell = MARK_C\ncols = 2\n"
                 "dx = 5\ndy = 5\n[EffectCells]\ncell = MARK_E\ncols = 2\ndx = 5\ndy = 5\n");
    folder.write("zoom_Bench/objects.ini", objects);
    folder.write("zoom_Bench/items.ini", items);
    folder.write("_rooms.list", "zoom_Bench\n");
    folder.write("_SharedRooms/_rooms.list", "");
}

void writeRooms(const bench::TempFolder& folder) {
    std::string order, benchObjects, benchItems, rackObjects, rackItems, texts;
    for (int i = 0; i < kBottles; ++i) {
        const std::string name = bottle(i), lower = std::string("b").append(std::to_string(i + 1));
        order += name + " ";
        for (std::string* objects : {&benchObjects, &rackObjects})
            objects->append("[" + lower +
                            "]\nClass = text\nWidth = 20\nHeight = 20\nX = " + std::to_string(30 * i) +
                            "\n[t" + lower + "]\nClass = text\nWidth = 20\nHeight = 10\n");
        for (std::string* items : {&benchItems, &rackItems})
            items->append("[" + name + "]\nObject = " + lower + "\n[T" + name + "]\nObject = t" + lower +
                          "\n");
        texts += name + " = \"Vial " + std::to_string(i + 1) + "\"\n" + name + "_2 = \"Tube " +
                 std::to_string(i + 1) + "\"\nMESSAGE_ABOUT_" + name + " = \"Place " + std::to_string(i + 1) +
                 ": %" + std::to_string(i + 1) + "%, at %" + std::to_string(i + 1 + 2 * kBottles) +
                 "%, beside %" + std::to_string((i + 1) % kBottles + 1) + "%\"\nMESSAGE_ABOUT_" + name +
                 "_2 = \"Again %" + std::to_string(i + 1) + "%\"\nBTL_UID_" + std::to_string(i + 1) +
                 " = \"place " + std::to_string(i + 1) + "\"\n";
    }
    for (const char* name : {"TABLE_PIPETKA", "PIPETKA", "PIPETKA_FULL", "BIG_FS", "TBIG_FS", "DISH",
                             "CHECK_C", "CHECK_E", "SELECTION", "SUBMIT_ON", "MONITOR", "REPORT", "WIN"}) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), ::tolower);
        benchObjects += "[" + lower + "]\nClass = text\nWidth = 20\nHeight = 20\n";
        benchItems += std::string("[") + name + "]\nObject = " + lower + "\n";
    }
    folder.write(
        std::string(kBench) + "/room.ini",
        "[Room]\nClass = CrimeLabMain\n[settings]\nCorrectOrder = " + order +
            "\nscreenbuttleorder = " + order +
            "\ncolors = RED BLUE GREEN BLACK\neffects = NONE FIZZ BOIL SMOKE\nsamples_count = 2\n"
            "report = REPORT\nWinCaption = WIN\n[sample_info1]\nwincolor = GREEN\nwineffect = SMOKE\n"
            "tarelka = DISH\n[sample_info2]\nwincolor = RED\nwineffect = FIZZ\ntarelka = DISH\n"
            "[ColorImages]\nNONE = DISH\n[ErrorEffect]\ncolor = BLACK\neffect = BOIL\n"
            "[ColorCells]\ncell = CHECK_C\ncols = 4\ndx = 5\ndy = 5\n"
            "[EffectCells]\ncell = CHECK_E\ncols = 4\ndx = 5\ndy = 5\n");
    folder.write(std::string(kBench) + "/objects.ini", benchObjects);
    folder.write(std::string(kBench) + "/items.ini", benchItems);
    folder.write("lang/Investigations/Demo/" + std::string(kBench) + "/room.txt", texts);
    folder.write(std::string(kRack) + "/room.ini",
                 "[Room]\nClass = CrimeLabButtles\n[Options]\nItemToShow = " + std::string(kRack) +
                     ":B1\nOrder = " + order + "\n");
    folder.write(std::string(kRack) + "/objects.ini", rackObjects);
    folder.write(std::string(kRack) + "/items.ini", rackItems);
    folder.write("_rooms.list", std::string(kRack) + "\n" + kBench + "\n");
    folder.write("_SharedRooms/_rooms.list", "");
}

struct World {
    aApplication app;
    std::unique_ptr<aGraphServer> graph;
    std::unique_ptr<CResManager> res;
    std::unique_ptr<aFileServer> files;
    bench::TempFolder folder{"bench_chemlab"};
    bench::TempFolder testFolder{"bench_chemlab_test_room"};
    TestRoomsManager<Bench, Rack> rooms;
    TestRoomsManager<TwoBottles> testRooms;
    CPersonagesManager personages;
    Bench* lab = nullptr;
    Rack* rack = nullptr;
    TwoBottles* testBench = nullptr;
    // The records the loads read: the lab's, and the test room's after its test.
    std::string record, testRecord;

    World() {
        graph = std::make_unique<aGraphServer>(1024, 768, false, true);
        if (graph->getFatalError())
            return;
        if (!aFileServer::getInstance())
            files = std::make_unique<aFileServer>();
        aFileServer::getInstance()->setAssign("investigations", folder.path);
        aFileServer::getInstance()->setAssign("language", folder.path + "lang/");
        res = std::make_unique<CResManager>(false);
        writeRooms(folder);
        writeTestBench(testFolder);
        rooms.LoadSharedRoomsList(&personages, nullptr);
        rooms.Init(folder.path, "Demo");
        testRooms.Init(testFolder.path, "Bench");
        res->BeginLoading();
        while (!res->isDone())
            res->LoadStep();
        rooms.AfterLoadInitRooms(folder.path);
        testRooms.AfterLoadInitRooms(testFolder.path);
        platform::srand(7);
        rooms.ResetRooms(folder.path);
        testRooms.ResetRooms(testFolder.path);
        lab = dynamic_cast<Bench*>(rooms.GetRoom(kBench));
        rack = dynamic_cast<Rack*>(rooms.GetRoom(kRack));
        testBench = dynamic_cast<TwoBottles*>(testRooms.GetRoom("zoom_Bench"));
        if (testBench) {
            testBench->Enter("Bench", nullptr);
            testBench->SolveRoom();
        }
    }

    bool ready() const { return lab && rack && testBench && rack->GetSlots().size() == size_t(kBottles); }
};

World& world() {
    static World w;
    return w;
}

void BM_BenchReset(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no lab");
    platform::srand(3);
    for (auto _ : state) {
        world().lab->Fresh();
        world().lab->Reset();
        benchmark::DoNotOptimize(world().lab);
    }
}

void BM_PlainReset(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no lab");
    platform::srand(3);
    for (auto _ : state) {
        world().lab->PlainReset();
        benchmark::DoNotOptimize(world().lab);
    }
}

// The same two places exchanged back and forth: a rack of twelve is not sorted by it.
void BM_RackExchangeClick(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no lab");
    for (auto _ : state) {
        world().rack->Select(0);
        world().rack->ClickOn(1);
    }
}

void BM_PlainExchange(benchmark::State& state) {
    if (!world().ready())
        return state.SkipWithError("no lab");
    for (auto _ : state)
        world().rack->PlainExchange(0, 1);
}

// The room's record as a game saves it, written by the given writer, on the one stream it appends to.
template <class Room> struct RecordOf : SaveLoadEntity {
    RecordOf(Room& room, u8* (Room::*write)(SaveLoadSystem&, u8*))
        : SaveLoadEntity(room.getName()), room(room), write(write) {}
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override { return (room.*write)(sys, pos); }
    Room& room;
    u8* (Room::*write)(SaveLoadSystem&, u8*);
};

// Each save appends the record to one stream, begun afresh every thousand saves outside the timing so
// that the records never fill it; each load reads the same record from memory.
template <class Room>
void saveAndLoad(benchmark::State& state, Room* room, const std::string& bytes,
                 u8* (Room::*save)(SaveLoadSystem&, u8*),
                 const u8* (Room::*load)(SaveLoadSystem&, const u8*)) {
    if (!world().ready() || bytes.empty())
        return state.SkipWithError("no lab");
    RecordOf<Room> record(*room, save);
    SaveLoadSystem saver, loader;
    const std::string file = world().folder.path + "lab.save";
    saver.BeginSave(file, 1);
    u8* data = loader.BeginMemoryRecord(u32(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), data);
    int saves = 0;
    for (auto _ : state) {
        if (++saves % 1000 == 0) {
            state.PauseTiming();
            saver.BeginSave(file, 1);
            state.ResumeTiming();
        }
        saver.SaveEntity(record);
        benchmark::DoNotOptimize((room->*load)(loader, data));
    }
}

void BM_LabSaveLoad(benchmark::State& state) {
    saveAndLoad<Bench>(state, world().lab, world().record, &Bench::SaveSelf, &Bench::LoadSelf);
}

void BM_PlainSaveLoad(benchmark::State& state) {
    saveAndLoad<Bench>(state, world().lab, world().record, &Bench::PlainSave, &Bench::PlainLoad);
}

void BM_BenchSaveLoad(benchmark::State& state) {
    saveAndLoad<TwoBottles>(state, world().testBench, world().testRecord, &TwoBottles::SaveSelf,
                            &TwoBottles::LoadSelf);
}

void BM_PlainBenchSaveLoad(benchmark::State& state) {
    saveAndLoad<TwoBottles>(state, world().testBench, world().testRecord, &TwoBottles::PlainBenchSave,
                            &TwoBottles::PlainBenchLoad);
}

// The bytes of the room's record as the writer makes them, read back out of a stream file.
template <class Room> std::string recordBytes(Room& room, u8* (Room::*write)(SaveLoadSystem&, u8*)) {
    RecordOf<Room> record(room, write);
    return bench::recordBytes(record, world().folder.path);
}

// The records the loads read, checked to be the bytes the plain writers make too.
void prepareRecords() {
    if (!world().ready())
        return;
    world().lab->Enter("Demo", nullptr);
    world().record = recordBytes<Bench>(*world().lab, &Bench::SaveSelf);
    world().testRecord = recordBytes<TwoBottles>(*world().testBench, &TwoBottles::SaveSelf);
    if (recordBytes<Bench>(*world().lab, &Bench::PlainSave) != world().record ||
        recordBytes<TwoBottles>(*world().testBench, &TwoBottles::PlainBenchSave) != world().testRecord) {
        std::fprintf(stderr, "a plain record differs from the room's own\n");
        world().record.clear();
    }
}

// The machine may be shared: repetitions in random order, compared by their medians.
BENCHMARK(BM_BenchReset)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainReset)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_RackExchangeClick)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainExchange)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_LabSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_BenchSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);
BENCHMARK(BM_PlainBenchSaveLoad)->Unit(benchmark::kMicrosecond)->Repetitions(5);

} // namespace

int main(int argc, char** argv) {
    prepareRecords();
    auto figures = bench::run(argc, argv);
    bench::printRatio(figures, "Bench Reset, 12 bottles", "BM_BenchReset", "BM_PlainReset", 1.3);
    bench::printRatio(figures, "Rack exchange click", "BM_RackExchangeClick", "BM_PlainExchange", 1.3);
    bench::printRatio(figures, "Lab save + load, two samples", "BM_LabSaveLoad", "BM_PlainSaveLoad", 1.3);
    bench::printRatio(figures, "Bench save + load, after a two-bottle test", "BM_BenchSaveLoad",
                      "BM_PlainBenchSaveLoad", 1.3);
    return 0;
}
