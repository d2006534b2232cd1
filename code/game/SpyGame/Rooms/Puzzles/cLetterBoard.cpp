#include "game/SpyGame/Rooms/Puzzles/cLetterBoard.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/Rooms/CRoomBase.h"
#include "game/SpyGame/Rooms/Toolkit/PuzzleHelpers.h"
#include "game/SpyGame/Rooms/Toolkit/cRoomTransform.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/gfx/aApplication.h"
#include "tk2v/input/aInputServer.h"
#include "tk2v/sound/aSound.h"

namespace {

constexpr f32 CaretPeriod = 0.7f;
constexpr f32 UnderlineHeight = 0.1f;
constexpr f32 CaretWidth = 0.08f;
constexpr u8 LeftArrow = 203;
constexpr u8 RightArrow = 205;
constexpr u32 LastTypingKey = 254;
// A saved cell: its character and its state.
constexpr u32 SavedCellSize = 2;

bool IsLetterOrBlank(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || ch == ' ';
}

// Upper case as the board stores letters; a blank stays a blank (clearing its 0x20 would make a NUL).
char StoredLetter(char ch) {
    return ch == ' ' ? ch : char(ch & ~0x20);
}

const aInputServer* Input() {
    return aApplication::inputServer();
}

} // namespace

cLetterBoard::Cell* cLetterBoard::CellRef::get() const {
    if (!line || index < 0 || size_t(index) >= line->cells.size())
        return nullptr;
    return &line->cells[size_t(index)];
}

cLetterBoard::cLetterBoard(const std::string& fontFile, CRoomBase* owner)
    : m_Font(fontFile), m_Owner(owner) {}

cLetterBoard::~cLetterBoard() = default;

cLetterBoard::Line* cLetterBoard::FindLine(const std::string& name) {
    auto it = m_Lines.find(name);
    return it == m_Lines.end() ? nullptr : &it->second;
}

const cLetterBoard::Line* cLetterBoard::FindLine(const std::string& name) const {
    auto it = m_Lines.find(name);
    return it == m_Lines.end() ? nullptr : &it->second;
}

void cLetterBoard::AddLine(const std::string& name, const std::string& text, f32 x, f32 y, bool flag) {
    Line& line = m_Lines[name];
    if (m_Selected.line == &line || m_Hovered.line == &line)
        ClearSelection();
    line = Line{x, y, std::vector<Cell>(text.size()), {}, flag};
    for (size_t i = 0; i < text.size(); ++i)
        line.cells[i].ch = text[i];
}

void cLetterBoard::SetLineText(const std::string& name, const std::string& text) {
    Line* line = FindLine(name);
    if (!line)
        return;
    line->cells.clear();
    for (char ch : text)
        line->cells.push_back(ch == '#' ? Cell{' ', Open} : Cell{ch, u8(Open | Shown)});
    ClearSelection();
}

std::string cLetterBoard::GetLineText(const std::string& name) const {
    std::string text;
    if (const Line* line = FindLine(name))
        for (const Cell& cell : line->cells)
            text += cell.ch;
    return text;
}

void cLetterBoard::SetLineDimmed(const std::string& name, bool dimmed) {
    if (Line* line = FindLine(name))
        for (Cell& cell : line->cells)
            cell.state = dimmed ? u8(cell.state | Dimmed) : u8(cell.state & ~Dimmed);
}

SpyPoint cLetterBoard::GetLinePos(const std::string& name) const {
    const Line* line = FindLine(name);
    return line ? SpyPoint{line->x, line->y} : SpyPoint{};
}

void cLetterBoard::SetLinePos(const std::string& name, SpyPoint pos) {
    if (Line* line = FindLine(name)) {
        line->x = pos.x;
        line->y = pos.y;
    }
}

bool cLetterBoard::SelectLine(const std::string& name) {
    m_Current = FindLine(name);
    return m_Current != nullptr;
}

cLetterBoard::Cell* cLetterBoard::CurrentCell(i32 index) const {
    return CellRef{m_Current, index}.get();
}

i32 cLetterBoard::GetCellCount() const {
    return m_Current ? i32(m_Current->cells.size()) : -1;
}

char cLetterBoard::GetCellChar(i32 index) const {
    const Cell* cell = CurrentCell(index);
    return cell ? cell->ch : 0;
}

void cLetterBoard::SetCellChar(i32 index, char ch, bool shown) {
    if (Cell* cell = CurrentCell(index)) {
        cell->ch = ch;
        cell->state = shown ? u8(cell->state | Shown) : u8(cell->state & ~Shown);
    }
}

bool cLetterBoard::IsCellOpen(i32 index) const {
    const Cell* cell = CurrentCell(index);
    return cell && (cell->state & Open);
}

void cLetterBoard::SetCellOpen(i32 index, bool open) {
    if (Cell* cell = CurrentCell(index))
        cell->state = open ? u8(cell->state | Open) : u8(cell->state & ~Open);
}

u8 cLetterBoard::GetCellState(i32 index) const {
    const Cell* cell = CurrentCell(index);
    return cell ? cell->state : 0;
}

SpyPoint cLetterBoard::GetCellPos(i32 index) const {
    if (!m_Current)
        return {};
    return {m_Current->x + f32(index) * CellStep * m_Font.getHeight() * m_Scale, m_Current->y};
}

i32 cLetterBoard::FindChar(char ch) const {
    if (!m_Current)
        return -1;
    for (size_t i = 0; i < m_Current->cells.size(); ++i)
        if (m_Current->cells[i].ch == ch)
            return i32(i);
    return -1;
}

f32 cLetterBoard::DrawScale() const {
    const f32 roomScale = m_Owner ? m_Owner->GetScale().x : 1.0f;
    return m_Scale * (roomScale == 0 ? 1.0f : roomScale);
}

f32 cLetterBoard::CellSize() const {
    return m_Font.getHeight() * DrawScale();
}

SpyPoint cLetterBoard::CellScreenPos(const Line& line, i32 index) const {
    const SpyPoint origin = m_Owner ? m_Owner->GetPosition() : SpyPoint{};
    const SpyPoint scale = m_Owner ? m_Owner->GetScale() : SpyPoint{1, 1};
    const SpyPoint start = cRoomTransform(&origin, &scale).LocalToScreen(line.x, line.y);
    return {start.x + f32(index) * CellStep * CellSize(), start.y};
}

i32 cLetterBoard::HitLine(const Line& line, f32 x, f32 y) const {
    const f32 size = CellSize();
    i32 hit = -1;
    for (size_t i = 0; i < line.cells.size(); ++i) {
        const SpyPoint at = CellScreenPos(line, i32(i));
        if (PointInRectF(at.x, at.y, CellWidth * size, CellHeight * size, x, y))
            hit = i32(i);
    }
    return hit;
}

i32 cLetterBoard::HitTest(f32 x, f32 y) const {
    return m_Current ? HitLine(*m_Current, x, y) : -2;
}

cLetterBoard::CellRef cLetterBoard::CellAt(f32 x, f32 y) {
    CellRef found;
    for (auto& [name, line] : m_Lines)
        if (i32 index = HitLine(line, x, y); index >= 0)
            found = {&line, index};
    return found;
}

void cLetterBoard::ClearSelection() {
    m_Selected = {};
    m_Hovered = {};
    m_Repeater.Reset();
}

void cLetterBoard::HandleInput(f32 dt, Typed& result) {
    result = {};
    const Cell* selected = m_Selected.get();
    if (!selected || selected->state != Open)
        m_Selected = {};
    m_CaretTime += dt;
    if (m_CaretTime > CaretPeriod) {
        m_CaretTime = 0;
        m_CaretVisible = !m_CaretVisible;
    }
    m_Repeater.Update(dt);
    const aInputServer* input = Input();
    if (!input)
        return;
    i32 mx = 0, my = 0;
    input->getMousePos(mx, my);
    m_Hovered = CellAt(f32(mx), f32(my));
    if (TypeKey(result))
        return;
    if (input->mouseButtons[0] == KEY_PRESSED && Click(f32(mx), f32(my)))
        return;
    if (m_Repeater.IsKeyFired(LeftArrow))
        MoveSelection(-1);
    else if (m_Repeater.IsKeyFired(RightArrow))
        MoveSelection(1);
}

bool cLetterBoard::TypeKey(Typed& result) {
    const aInputServer* input = Input();
    const u32 modifiers = GetKeyModifiers();
    for (u32 code = 0; code <= LastTypingKey; ++code) {
        if (input->keyStates[code] != KEY_PRESSED)
            continue;
        const char ch = ScanCodeToChar(u8(code), modifiers);
        if (!IsLetterOrBlank(ch))
            continue;
        Cell* cell = m_Selected.get();
        if (!cell)
            return false;
        if (m_TypingSound)
            m_TypingSound->play();
        cell->ch = StoredLetter(ch);
        for (const auto& [name, line] : m_Lines)
            if (&line == m_Selected.line)
                result.line = name;
        result.cell = m_Selected.index;
        result.letter = cell->ch;
        return true;
    }
    return false;
}

// A click on a cell that takes letters selects it; one on the selected cell or on any other cell ends
// the frame's input.
bool cLetterBoard::Click(f32 x, f32 y) {
    const CellRef hit = CellAt(x, y);
    const Cell* cell = hit.get();
    if (!cell)
        return false;
    if (cell->state != Open || hit == m_Selected)
        return true;
    m_Selected = hit;
    return false;
}

void cLetterBoard::MoveSelection(i32 step) {
    if (!m_Selected.get())
        return;
    const std::vector<Cell>& cells = m_Selected.line->cells;
    for (i32 i = m_Selected.index + step; i >= 0 && size_t(i) < cells.size(); i += step)
        if (cells[size_t(i)].state == Open) {
            m_Selected.index = i;
            return;
        }
}

u32 cLetterBoard::CellColor(const Line& line, i32 index) const {
    const Cell& cell = line.cells[size_t(index)];
    if (IsSelected(line, index))
        return SelectedColor;
    if (cell.state & Dimmed)
        return DimmedColor;
    if (!(cell.state & Open))
        return UsedColor;
    if (!(cell.state & Shown))
        return HiddenColor;
    return ShownColor;
}

void cLetterBoard::DrawLine(const Line& line) {
    m_Font.setScale(DrawScale());
    const f32 size = CellSize();
    for (size_t i = 0; i < line.cells.size(); ++i) {
        const Cell& cell = line.cells[i];
        const SpyPoint at = CellScreenPos(line, i32(i));
        const u32 color = CellColor(line, i32(i));
        m_Font.color = color;
        // Each letter stands over the middle of its underline, however wide the font draws it.
        const std::string_view glyph(&cell.ch, 1);
        m_Font.print(at.x + (CellWidth * size - m_Font.getTextSize(glyph).width) / 2, at.y, glyph);
        m_Gdi.color = color;
        if (cell.ch != ' ' || !(cell.state & Shown))
            m_Gdi.drawRect(at.x, at.y + size, CellWidth * size, UnderlineHeight * size, true);
        if (IsSelected(line, i32(i)) && !line.flag && m_CaretVisible)
            m_Gdi.drawRect(at.x + CellWidth * size, at.y, CaretWidth * size, size, true);
        if (m_Hovered.line == &line && m_Hovered.index == i32(i))
            m_Gdi.drawRect(at.x, at.y, CellWidth * size, CellHeight * size, false);
    }
}

void cLetterBoard::Render() {
    for (const auto& [name, line] : m_Lines)
        DrawLine(line);
}

void cLetterBoard::RenderLine(const std::string& name) {
    if (const Line* line = FindLine(name))
        DrawLine(*line);
}

u32 cLetterBoard::LinePlace(const Line* line) const {
    u32 place = 1;
    for (const auto& [name, each] : m_Lines) {
        if (&each == line)
            return place;
        ++place;
    }
    return 0;
}

cLetterBoard::Line* cLetterBoard::LineAtPlace(u32 place) {
    if (place == 0 || place > m_Lines.size())
        return nullptr;
    auto it = m_Lines.begin();
    std::advance(it, place - 1);
    return &it->second;
}

u8* cLetterBoard::SaveLine(SaveLoadSystem& sys, u8* pos, const std::string& name, const Line& line) const {
    pos = sys.writeString(pos, name);
    pos = sys.writeF32(pos, line.x);
    pos = sys.writeF32(pos, line.y);
    pos = sys.writeU32(pos, u32(line.cells.size()));
    for (const Cell& cell : line.cells) {
        pos = sys.writeU8(pos, u8(cell.ch));
        pos = sys.writeU8(pos, cell.state);
    }
    auto place = [&](const CellRef& ref) { return ref.line == &line ? u32(ref.index + 1) : 0u; };
    pos = sys.writeU32(pos, place(m_Selected));
    pos = sys.writeU32(pos, place(m_Hovered));
    pos = sys.writeString(pos, line.note);
    return sys.writeBool(pos, line.flag);
}

u8* cLetterBoard::Save(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, m_Font.color);
    pos = sys.writeF32(pos, m_Font.getScale());
    pos = sys.writeU32(pos, m_Gdi.color);
    for (const auto& [name, line] : m_Lines)
        pos = SaveLine(sys, pos, name, line);
    pos = sys.writeF32(pos, m_CaretTime);
    pos = sys.writeBool(pos, m_CaretVisible);
    pos = sys.writeU32(pos, LinePlace(m_Current));
    pos = sys.writeU32(pos, LinePlace(m_Hovered.line));
    return m_Repeater.SaveSelf(sys, pos);
}

const u8* cLetterBoard::LoadLine(SaveLoadSystem& sys, const u8* pos) {
    std::string name;
    pos = sys.readString(pos, name);
    Line& line = m_Lines[name];
    pos = sys.readF32(pos, line.x);
    pos = sys.readF32(pos, line.y);
    u32 count = 0;
    pos = sys.readU32(pos, count);
    line.cells.clear();
    if (countFits(sys, pos, count, SavedCellSize, "cLetterBoard::Load()")) {
        line.cells.resize(count);
        for (Cell& cell : line.cells) {
            u8 ch = 0;
            pos = sys.readU8(pos, ch);
            pos = sys.readU8(pos, cell.state);
            cell.ch = char(ch);
        }
    } else {
        count = 0;
    }
    u32 selected = 0, hovered = 0;
    pos = sys.readU32(pos, selected);
    pos = sys.readU32(pos, hovered);
    // A place outside the line's cells names none.
    if (selected >= 1 && selected <= count)
        m_Selected = {&line, i32(selected - 1)};
    if (hovered >= 1 && hovered <= count)
        m_Hovered = {&line, i32(hovered - 1)};
    pos = sys.readString(pos, line.note);
    return sys.readBool(pos, line.flag);
}

const u8* cLetterBoard::Load(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos) {
    u32 fontColor = 0, gdiColor = 0;
    f32 fontScale = 0;
    pos = sys.readU32(pos, fontColor);
    pos = sys.readF32(pos, fontScale);
    pos = sys.readU32(pos, gdiColor);
    m_Font.color = fontColor;
    m_Font.setScale(fontScale);
    m_Gdi.color = gdiColor;
    ClearSelection();
    // The owner has built its lines before it loads: one record for each of them.
    const size_t held = m_Lines.size();
    for (size_t i = 0; i < held; ++i)
        pos = LoadLine(sys, pos);
    pos = sys.readF32(pos, m_CaretTime);
    pos = sys.readBool(pos, m_CaretVisible);
    u32 current = 0, hoveredLine = 0;
    pos = sys.readU32(pos, current);
    pos = sys.readU32(pos, hoveredLine);
    m_Current = LineAtPlace(current);
    return m_Repeater.LoadSelf(rooms, sys, pos);
}
