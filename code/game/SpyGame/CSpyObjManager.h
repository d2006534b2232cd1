#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/SpyPoint.h"

#include <deque>
#include <memory>
#include <optional>
#include <string>

class CSpyObject;

// The scene objects of one room, made from its objects.ini (one section per object, its class named by
// "Class"), found by name for the room's items, and saved as one record. Objects live as long as the
// manager; the pointers it hands out are valid that long.
class CSpyObjManager : public SaveLoadEntity {
public:
    // A saved entry at its smallest: a name's NUL and the object record.
    static constexpr u32 MinEntrySize = 1 + 26;

    CSpyObjManager() = default;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    // Replaces the objects with those of the file; the objects are left for their items to reset.
    void CreateObjects(const std::string& group, const std::string& path);
    // A new object of the class named exactly, or null.
    static std::shared_ptr<CSpyObject> CreateObjectByClass(const std::string& className);
    // The first object of that name; null, after a log line, when there is none.
    CSpyObject* GetObject(const std::string& name) const;
    bool HasObject(const std::string& name) const;
    // A copy of the current state of `source` under a new name, with the given original position and
    // colour or the source's; null when there is no source.
    CSpyObject* CloneObject(const std::string& source, const std::string& newName,
                            std::optional<SpyPoint> origPos = std::nullopt,
                            std::optional<u32> origColor = std::nullopt);
    // A bare rectangle of unit scale.
    CSpyObject* AddRectObject(const std::string& name, const std::string& group, SpyPoint pos, u32 width,
                              u32 height);

    const std::deque<std::shared_ptr<CSpyObject>>& GetObjects() const { return m_objects; }

private:
    CSpyObject* FindObject(const std::string& name) const;
    // The position after the record of a saved object that no longer exists, or null when no record
    // shape leads on to a known name or to the end of the record.
    const u8* SkipMissing(SaveLoadSystem& sys, const u8* pos, bool last) const;

    std::deque<std::shared_ptr<CSpyObject>> m_objects;
};
