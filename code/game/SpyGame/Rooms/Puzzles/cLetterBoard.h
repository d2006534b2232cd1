#pragma once
#include "game/SpyGame/Rooms/Toolkit/cAutoRepeater.h"
#include "game/SpyGame/SpyPoint.h"
#include "tk2v/gfx/aFont.h"
#include "tk2v/gfx/aGDI.h"
#include "tk2v/util/types.h"

#include <map>
#include <string>
#include <vector>

class aSound;
class CRoomBase;
class CRoomItemLookup;
class SaveLoadSystem;

// Named lines of letter cells drawn with a font of the board's own; the player selects a cell and types
// a letter into it. The word game keeps its words, its theme and the row of letters for sale here; the
// board knows nothing of words or rules: its owner reads and writes characters and states.
//
// Line positions are room-local: the board follows its owner's offset and scale on the screen.
class cLetterBoard {
public:
    // Bits of a cell's state. Only a cell whose state is exactly Open takes a typed letter.
    enum CellBits : u8 {
        Open = 1,   // a hidden letter still to find, or a letter of the row still to buy
        Shown = 2,  // shows a given letter
        Dimmed = 4, // drawn grey
    };
    // What a frame's typing put into a cell: the line, the cell's index and the letter (0: none).
    struct Typed {
        std::string line;
        i32 cell = -1;
        char letter = 0;
    };

    static constexpr u32 HiddenColor = 0xFF00FF00;
    static constexpr u32 UsedColor = 0xFFD0D0D0;
    static constexpr u32 SelectedColor = 0xFFFF0000;
    static constexpr u32 ShownColor = 0xFF00A000;
    static constexpr u32 DimmedColor = 0xFF808080;
    // Cells stand 0.7 of the font's size apart; a cell's box and underline are 0.65 of it wide, the box
    // reaches down past the underline, which lies one size below the top.
    static constexpr f32 CellStep = 0.7f;
    static constexpr f32 CellWidth = 0.65f;
    static constexpr f32 CellHeight = 1.2f;

    cLetterBoard(const std::string& fontFile, CRoomBase* owner);
    ~cLetterBoard();
    cLetterBoard(const cLetterBoard&) = delete;
    cLetterBoard& operator=(const cLetterBoard&) = delete;

    // Creates the line (or empties one of that name) with one open, hidden cell per character.
    void AddLine(const std::string& name, const std::string& text, f32 x, f32 y, bool flag);
    bool HasLine(const std::string& name) const { return m_Lines.count(name) != 0; }
    // "#" makes a hidden, open blank; any other character an open cell showing it.
    void SetLineText(const std::string& name, const std::string& text);
    std::string GetLineText(const std::string& name) const;
    void SetLineDimmed(const std::string& name, bool dimmed);
    SpyPoint GetLinePos(const std::string& name) const;
    void SetLinePos(const std::string& name, SpyPoint pos);

    // The line the operations by index work on; false when there is none of that name.
    bool SelectLine(const std::string& name);
    // -1 without a current line.
    i32 GetCellCount() const;
    char GetCellChar(i32 index) const;
    void SetCellChar(i32 index, char ch, bool shown);
    bool IsCellOpen(i32 index) const;
    void SetCellOpen(i32 index, bool open);
    u8 GetCellState(i32 index) const;
    // Room-local top-left corner of the cell.
    SpyPoint GetCellPos(i32 index) const;
    // -1 when the line has no such character.
    i32 FindChar(char ch) const;
    // The cell under the screen point: -1 for none, -2 without a current line.
    i32 HitTest(f32 x, f32 y) const;

    void HandleInput(f32 dt, Typed& result);
    void Render();
    void RenderLine(const std::string& name);
    void ClearSelection();

    void SetScale(f32 scale) { m_Scale = scale; }
    f32 GetScale() const { return m_Scale; }
    void SetTypingSound(aSound* sound) { m_TypingSound = sound; }
    // Step between the cells and the size they are drawn at, in screen pixels.
    f32 CellSize() const;

    u8* Save(SaveLoadSystem& sys, u8* pos);
    const u8* Load(CRoomItemLookup& rooms, SaveLoadSystem& sys, const u8* pos);

private:
    struct Cell {
        char ch = ' ';
        u8 state = Open;
    };
    struct Line {
        f32 x = 0, y = 0;
        std::vector<Cell> cells;
        // Kept in the record; no rule reads it.
        std::string note;
        // Set for the row of letters for sale: its selected cell draws no caret.
        bool flag = false;
    };
    // A cell by its line and index; null line for none.
    struct CellRef {
        Line* line = nullptr;
        i32 index = -1;
        Cell* get() const;
        bool operator==(const CellRef&) const = default;
    };

    Line* FindLine(const std::string& name);
    const Line* FindLine(const std::string& name) const;
    Cell* CurrentCell(i32 index) const;
    SpyPoint CellScreenPos(const Line& line, i32 index) const;
    bool IsSelected(const Line& line, i32 index) const {
        return m_Selected.line == &line && m_Selected.index == index;
    }
    // The board's scale on the room's.
    f32 DrawScale() const;
    u32 CellColor(const Line& line, i32 index) const;
    void DrawLine(const Line& line);
    // The cell under the screen point over every line, the last of overlapping boxes.
    CellRef CellAt(f32 x, f32 y);
    i32 HitLine(const Line& line, f32 x, f32 y) const;
    bool TypeKey(Typed& result);
    bool Click(f32 x, f32 y);
    void MoveSelection(i32 step);
    // 1-based place of a line in map order, 0 for none, and back.
    u32 LinePlace(const Line* line) const;
    Line* LineAtPlace(u32 place);
    u8* SaveLine(SaveLoadSystem& sys, u8* pos, const std::string& name, const Line& line) const;
    const u8* LoadLine(SaveLoadSystem& sys, const u8* pos);

    f32 m_Scale = 1.0f;
    aSound* m_TypingSound = nullptr;
    aFont m_Font;
    aGDI m_Gdi;
    CRoomBase* m_Owner = nullptr;
    std::map<std::string, Line> m_Lines;
    CellRef m_Selected;
    f32 m_CaretTime = 0;
    bool m_CaretVisible = false;
    Line* m_Current = nullptr;
    CellRef m_Hovered;
    cAutoRepeater m_Repeater{0.7f};
};
