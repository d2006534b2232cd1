#pragma once
#include "game/SpyGame/CSpyItem.h"

#include <string>

// Opens a close-up room. Always highlights under the mouse and sparkles.
class CSpyItemZoomRoom : public CSpyItem {
public:
    static const char* GetClassStaticName() { return "ZoomRoom"; }

    std::string GetClassName() const override { return GetClassStaticName(); }
    void OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                     const std::string& roomName, aOptionsFile& ini, const std::string& name) override;

    const std::string& UseRoom() const { return m_useRoom; }

protected:
    void CopyFrom(const CSpyItem& source) override;

private:
    std::string m_useRoom;
};
