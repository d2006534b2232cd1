#pragma once
#include "tk2v/util/types.h"

#include <string>

class SaveLoadSystem;

// A game object that keeps its state in one named record of a save stream.
class SaveLoadEntity {
public:
    explicit SaveLoadEntity(std::string name = {});
    virtual ~SaveLoadEntity() = default;
    // Declared for the virtual destructor, which would take the moves away: vectors of entities
    // (task lists, pools) move them when they grow instead of copying every one.
    SaveLoadEntity(const SaveLoadEntity&) = default;
    SaveLoadEntity(SaveLoadEntity&&) noexcept = default;
    SaveLoadEntity& operator=(const SaveLoadEntity&) = default;
    SaveLoadEntity& operator=(SaveLoadEntity&&) noexcept = default;

    // Reads the record's fields from `pos` and returns the position after them.
    virtual const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos);
    // Writes the record's fields at `pos` and returns the position after them.
    virtual u8* SaveSelf(SaveLoadSystem& sys, u8* pos);
    // Hands each owned child to sys.SaveEntity; the children's records come before this one.
    virtual void SaveChildren(SaveLoadSystem& sys);
    // Hands each owned child to sys.LoadEntity.
    virtual void LoadChildren(SaveLoadSystem& sys);

    const std::string& getName() const { return m_name; }
    void setName(const std::string& name) { m_name = name; }

private:
    std::string m_name;
};
