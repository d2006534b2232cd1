#pragma once
#include "../RoomFrameKit.h"
#include "game/SpyGame/Rooms/Puzzles/cGardenMazeRoom.h"
#include "game/SpyGame/Rooms/Puzzles/cVentMazePuzzleRoom.h"
#include "game/SpyGame/Rooms/Toolkit/CGridMap.h"
#include "support/ImageFiles.h"
#include "support/game/SaveRecords.h"
#include "support/game/TestRoomsManager.h"

#include <array>
#include <string>
#include <vector>

// A maze room that keeps the texts it shows, made in place of the shipped class of its name.
template <class Room> struct MessageProbe : Room {
    void ShowMessage(const std::string& textId) override {
        if (!textId.empty())
            shown.push_back(textId);
        Room::ShowMessage(textId);
    }
    std::vector<std::string> shown;
};
using GardenProbe = MessageProbe<cGardenMazeRoom>;
using VentProbe = MessageProbe<cVentMazePuzzleRoom>;
using MazeRooms = TestRoomsManager<GardenProbe, VentProbe>;

// A grid painted in room pixels: rectangles become walls or free ground, whole cells at a time.
class PixelGrid {
public:
    PixelGrid(u32 widthPx, u32 heightPx, u32 columnWidth, u32 rowHeight)
        : m_columnWidth(columnWidth), m_rowHeight(rowHeight) {
        m_grid.Resize(widthPx / columnWidth, heightPx / rowHeight);
    }
    void paint(i32 x, i32 y, i32 w, i32 h, bool wall) {
        for (i32 cx = x / i32(m_columnWidth); cx < (x + w + i32(m_columnWidth) - 1) / i32(m_columnWidth);
             ++cx)
            for (i32 cy = y / i32(m_rowHeight); cy < (y + h + i32(m_rowHeight) - 1) / i32(m_rowHeight); ++cy)
                if (m_grid.Contains(cx, cy))
                    wall ? m_grid.SetWall(u32(cx), u32(cy)) : m_grid.SetFree(u32(cx), u32(cy));
    }
    // The ".map" file's bytes.
    std::string file() const {
        std::string bytes(1, '\0');
        SaveRecords::putU32(bytes, m_grid.GetWidth());
        SaveRecords::putU32(bytes, m_grid.GetHeight());
        for (u32 x = 0; x < m_grid.GetWidth(); ++x)
            for (u32 y = 0; y < m_grid.GetHeight(); ++y)
                bytes += char(m_grid.GetCell(x, y));
        return bytes;
    }
    const CGridMap& grid() const { return m_grid; }

private:
    CGridMap m_grid;
    u32 m_columnWidth, m_rowHeight;
};

// Items on pictures of their own size and colour (the right half in a second colour when one is given),
// written into a room folder with their list.
class RoomPictures {
public:
    void add(const std::string& name, i32 x, i32 y, u32 w, u32 h, u32 argb, bool visible = true,
             u32 right = 0) {
        objects += "[" + name + "]\nClass = image\nImage = " + name + "\nX = " + std::to_string(x) +
                   "\nY = " + std::to_string(y) + "\n";
        items += "[" + name + "]\nObject = " + name + "\n" + (visible ? "" : "Visible = 0\n");
        m_pictures.push_back({name, w, h, argb, right ? right : argb});
    }
    void write(const TempDir& dir, const std::string& folder, u32 backgroundW, u32 backgroundH) const {
        std::string list = "background.png 8888 8888\n";
        dir.write(folder + "Images/background.png",
                  imagefiles::text(imagefiles::png(backgroundW, backgroundH,
                                                   std::vector<u32>(backgroundW * backgroundH, 0xff203020))));
        for (const Picture& p : m_pictures) {
            std::vector<u32> pixels(p.w * p.h, p.argb);
            for (u32 i = 0; i < pixels.size(); ++i)
                if (i % p.w >= p.w / 2)
                    pixels[i] = p.right;
            dir.write(folder + "Images/" + p.name + ".png",
                      imagefiles::text(imagefiles::png(p.w, p.h, pixels)));
            list += p.name + ".png 8888 8888\n";
        }
        dir.write(folder + "Images/_images.list", list);
    }
    std::string objects, items;

private:
    struct Picture {
        std::string name;
        u32 w, h, argb, right;
    };
    std::vector<Picture> m_pictures;
};
