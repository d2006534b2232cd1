#include "game/SpyGame/Rooms/Puzzles/cCrimeLabMain.h"

#include "game/SpyGame/CPersonage.h"
#include "game/SpyGame/CSpyItem.h"
#include "game/SpyGame/Rooms/CRoomsManager.h"
#include "game/SpyGame/Rooms/Puzzles/cCrimeLabButtles.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordReader.h"
#include "game/SpyGame/Rooms/Puzzles/cRecordWriter.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleStrings.h"
#include "tk2v/util/log.h"

#include <algorithm>

namespace {

// No lab tests more samples; a larger count in the data would only have the room look for sections
// that are not there, line after line.
constexpr i32 MaxSamples = 64;

} // namespace

cCrimeLabMain::cCrimeLabMain() = default;

cCrimeLabMain::~cCrimeLabMain() = default;

void cCrimeLabMain::AfterLoadInit() {
    if (!IsLoadInitDue())
        return;
    cBasePoizonPuzzle2::AfterLoadInit();
    ReadSamples();
    dishItem = samples.empty() ? nullptr : samples.front().dish;
    sampleAboutTexts.assign(samples.size(), {});
    sampleNameTexts.assign(samples.size(), {});
    for (size_t s = 0; s < samples.size(); ++s) {
        std::string suffix;
        if (s > 0)
            suffix.append("_").append(DoubleToString(double(s + 1)));
        for (const std::string& name : orderList) {
            sampleAboutTexts[s].push_back(RoomText("MESSAGE_ABOUT_" + name + suffix));
            sampleNameTexts[s].push_back(RoomText(name + suffix));
        }
    }
    resultReady = 0;
    labMonitorItem = GetItem("MONITOR");
}

void cCrimeLabMain::ReadSamples() {
    samples.clear();
    itemsToOut.clear();
    reportItem = report2Item = winCaptionItem = smallDishItem = nullptr;
    if (!m_Ini.selectSection("settings")) {
        log("cCrimeLabMain. can't find section settings!");
        return;
    }
    const i32 count = std::clamp(m_Ini.getInt("samples_count"), 0, MaxSamples);
    samples.resize(size_t(count));
    reportItem = GetItem(m_Ini.getString("report"));
    winCaptionItem = GetItem(m_Ini.getString("WinCaption"));
    if (m_Ini.hasKey("items_to_out")) {
        std::vector<std::string> names;
        m_Ini.getStringList(names, "items_to_out");
        itemsToOut.assign(names.begin(), names.end());
    }
    if (count >= 2 && m_Ini.hasKey("report2"))
        report2Item = GetItem(m_Ini.getString("report2"));
    if (count >= 2 && m_Ini.hasKey("SmallTarelka"))
        smallDishItem = GetItem(m_Ini.getString("SmallTarelka"));
    for (i32 i = 1; i <= count; ++i) {
        if (!m_Ini.selectSection("sample_info" + DoubleToString(i))) {
            log("cCrimeLabMain. can't find section sample_info%d!", i);
            continue;
        }
        SampleInfo& sample = samples[size_t(i - 1)];
        sample.color = m_Ini.getString("wincolor");
        sample.effect = EffectCode(m_Ini.getString("wineffect"));
        sample.dish = GetItem(m_Ini.getString("tarelka"));
    }
}

// A sample just finished (or failed) sets up that sample's turn; otherwise the test starts anew with a
// fresh bottle order and fresh reactions. The last bottle of the rack always shows the sample's own.
void cCrimeLabMain::Reset() {
    if (m_State <= ResourcesQueued)
        return;
    size_t sample = 0;
    if (blocked)
        sample = std::min<size_t>(samplesDone, sampleAboutTexts.empty() ? 0 : sampleAboutTexts.size() - 1);
    if (samples.size() >= 2 && sample < sampleAboutTexts.size() && sample < sampleNameTexts.size()) {
        aboutTexts = sampleAboutTexts[sample];
        nameTexts = sampleNameTexts[sample];
        if (!blocked)
            reshuffle = 1;
    }
    samplesDone = 0;
    cBasePoizonPuzzle2::Reset();
    resultReady = 0;
    if (sample >= samples.size() || orderList.empty())
        return;
    if (auto found = reactions.find(orderList.back()); found != reactions.end())
        found->second = {samples[sample].color, samples[sample].effect};
}

void cCrimeLabMain::Enter(const std::string& entryName, CSpyItem* entryItem) {
    cBasePoizonPuzzle2::Enter(entryName, entryItem);
    CPersonage* personage = CurrentPersonage();
    if (!personage)
        return;
    if (const CPersonage::CRoomInfo* info = personage->FindRoomInfo(m_Name); info && taskText.empty())
        taskText = info->m_RoomTask;
    CInventory& inventory = personage->GetInventory();
    for (const std::string& name : itemsToOut)
        if (inventory.HasItem(name))
            inventory.RemoveItem(name);
}

// The solve finishes the sample under test: the dish shows its reaction and every bottle counts as
// dropped; the result screen still waits for its continue button.
bool cCrimeLabMain::ProcessAutoActions() {
    if (testDone || !IsReadyForSample() || m_pCursorItem || samplesDone >= samples.size())
        return false;
    const SampleInfo& sample = samples[samplesDone];
    ShowReaction({sample.color, sample.effect}, false);
    Show(FindItem("ROOMDOOR"), false);
    return cBasePoizonPuzzle2::ProcessAutoActions();
}

void cCrimeLabMain::OnErrorReaction() {
    cBasePoizonPuzzle2::OnErrorReaction();
    blocked = 1;
}

void cCrimeLabMain::OnResultsWrong() {
    if (testDone)
        return;
    ShowMessage("MESSAGE_CheckData");
    resultReady = 0;
    blocked = 1;
}

void cCrimeLabMain::OnResultsCorrect() {
    if (!testDone && !resultReady) {
        ++samplesDone;
        resultReady = 1;
        blocked = 1;
        reshuffle = 1;
    }
    for (const std::string& name : orderList)
        Show(FindItem(name), false);
    Show(bigFsItem, false);
}

void cCrimeLabMain::FinishTest() {
    cBasePoizonPuzzle2::FinishTest();
    Show(reportItem, true);
    checklistLocked = 1;
}

void cCrimeLabMain::OnChecklistIncomplete() {
    ShowMessage("MESSAGE_CheckInfoAboutTest");
}

// While a sample is under test, the submit button hands the checklist in. Once the bench is blocked,
// a finished sample opens its result screen and waits for the continue button; a failed one starts its
// sample again at once.
void cCrimeLabMain::UpdatePuzzle(f32 dt) {
    cBasePoizonPuzzle2::UpdatePuzzle(dt);
    if (!blocked) {
        if (!testDone && IsCursorOverItem(submitItem) && LeftPressed() && reservedFlag == 0 &&
            CheckTestResults())
            EvaluateChecklists();
        return;
    }
    const bool finished = resultReady;
    if (finished && labMonitorItem && !labMonitorItem->IsVisible()) {
        OpenResultScreen();
        return;
    }
    if (finished && !(IsCursorOverItem(FindItem("CONTINUE_ON")) && LeftPressed()))
        return;
    if (samplesDone < samples.size())
        PrepareNextSample();
    else
        blocked = 0;
    if (samplesDone == 1 && samples.size() >= 2)
        ShowSecondSample();
    if (!finished) {
        ShowMessage("MESSAGE_AutoReset");
        return;
    }
    resultReady = 0;
    ShowMessage("MESSAGE_WIN" + DoubleToString(samplesDone));
    if (samplesDone == samples.size())
        FinishTest();
}

void cCrimeLabMain::OpenResultScreen() {
    Show(labMonitorItem, true);
    Show(selectionItem, false);
    Show(FindItem("BLOODTEST_DATA"), false);
    Show(winCaptionItem, true);
    Show(FindItem("BLOODTEST_INFO"), false);
    if (labMonitorItem)
        labMonitorItem->SetText(RoomText("BLOODTEST_DATA" + DoubleToString(samplesDone)));
    SwapVisibleItem(submitItem, FindItem("CONTINUE_ON"));
    HideCheckMarks();
}

void cCrimeLabMain::PrepareNextSample() {
    const u32 next = samplesDone;
    const SpyPoint offset = GetPosition();
    const SpyPoint scale = GetScale();
    if (CPersonage* personage = CurrentPersonage())
        personage->SetRoomText(m_Name, "RoomTask", taskText);
    Reset();
    if (auto* rack = dynamic_cast<cCrimeLabButtles*>(bottleRoom))
        rack->ResetPuzzleState();
    SetPosition(offset);
    SetScale(scale, false);
    samplesDone = next;
    Enter(m_EntryName, nullptr);
}

void cCrimeLabMain::ShowSecondSample() {
    if (CSpyItem* info = FindItem("BLOODTEST_INFO"))
        info->SetText(RoomText("BLOODTEST_INFO1"));
    if (CSpyItem* data = FindItem("BLOODTEST_DATA"))
        data->SetText(RoomText("BLOODTEST_DATA_2"));
    Show(samples[0].dish, false);
    Show(samples[1].dish, true);
    Show(FindItem("SUBST2_NONE"), true);
    Show(report2Item, true);
    Show(smallDishItem, true);
}

u8* cCrimeLabMain::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    cRecordWriter out(sys, cBasePoizonPuzzle2::SaveSelf(sys, pos));
    out.put(samplesDone).put(resultReady).strings(itemsToOut);
    out.ref(reportItem).ref(report2Item).ref(labMonitorItem).ref(winCaptionItem);
    out.put(taskText);
    for (const SampleInfo& sample : samples)
        out.ref(sample.dish).put(sample.color).put(sample.effect);
    for (const auto* texts : {&sampleAboutTexts, &sampleNameTexts}) {
        out.put(u32(texts->size()));
        for (const std::vector<std::wstring>& entry : *texts)
            out.texts(entry);
    }
    return out.pos();
}

const u8* cCrimeLabMain::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    cRecordReader in("cCrimeLabMain::LoadSelf()", m_pRoomsManager, sys,
                     cBasePoizonPuzzle2::LoadSelf(sys, pos));
    in.get(samplesDone).get(resultReady).strings(itemsToOut);
    in.ref(reportItem).ref(report2Item).ref(labMonitorItem).ref(winCaptionItem);
    in.get(taskText);
    for (SampleInfo& sample : samples)
        in.ref(sample.dish).get(sample.color).get(sample.effect);
    for (auto* texts : {&sampleAboutTexts, &sampleNameTexts}) {
        u32 count = 0;
        if (!in.count(count, 4, "sample texts"))
            break;
        // The entries keep their strings, whose room the texts read into.
        texts->resize(count);
        for (std::vector<std::wstring>& entry : *texts)
            if (in.stopped())
                entry.clear();
            else
                in.texts(entry);
    }
    return in.pos();
}
