#include "game/SpyGame/CSpyObjManager.h"

#include "game/SaveLoadSystem.h"
#include "game/SpyGame/CSpyObjAnimation.h"
#include "game/SpyGame/CSpyObjImage.h"
#include "game/SpyGame/CSpyObjParticles.h"
#include "game/SpyGame/CSpyObjText.h"
#include "game/SpyGame/SaveCounts.h"
#include "tk2v/file/aOptionsFile.h"
#include "tk2v/util/log.h"

namespace {
constexpr const char* NamePrefix = "SpyObjManager : ";
// After the object record of a text: two sizes and a colour.
constexpr u32 TextTailSize = 12;
} // namespace

std::shared_ptr<CSpyObject> CSpyObjManager::CreateObjectByClass(const std::string& className) {
    if (className == CSpyObject::GetClassStaticName())
        return std::make_shared<CSpyObject>();
    if (className == CSpyObjImage::GetClassStaticName())
        return std::make_shared<CSpyObjImage>();
    if (className == CSpyObjAnimation::GetClassStaticName())
        return std::make_shared<CSpyObjAnimation>();
    if (className == CSpyObjParticles::GetClassStaticName())
        return std::make_shared<CSpyObjParticles>();
    if (className == CSpyObjText::GetClassStaticName())
        return std::make_shared<CSpyObjText>();
    return nullptr;
}

void CSpyObjManager::CreateObjects(const std::string& group, const std::string& path) {
    setName(NamePrefix + group);
    // A room loaded again must not find the objects of its last load, whose pictures are gone.
    m_objects.clear();
    aOptionsFile ini(path);
    for (ini.first(); !ini.isEnd(); ini.nextSection()) {
        const std::string name = ini.getSectionName();
        const std::string className = ini.getString("Class");
        std::shared_ptr<CSpyObject> object = CreateObjectByClass(className);
        if (!object) {
            log("CSpyObjManager::CreateObjects(). Not find class '%s' for object '%s'", className.c_str(),
                name.c_str());
            continue;
        }
        object->LoadRes(group, ini, name);
        m_objects.push_back(object);
        if (object->GetClassName() != className)
            log("Warning, class '%s' return difference names in methods GetClassStaticName() and "
                "GetClassName().",
                className.c_str());
    }
}

CSpyObject* CSpyObjManager::FindObject(const std::string& name) const {
    for (const auto& object : m_objects)
        if (object->GetName() == name)
            return object.get();
    return nullptr;
}

CSpyObject* CSpyObjManager::GetObject(const std::string& name) const {
    CSpyObject* object = FindObject(name);
    if (!object)
        log("CSpyObjManager::GetObject(). Cannot find object: %s", name.c_str());
    return object;
}

bool CSpyObjManager::HasObject(const std::string& name) const {
    return FindObject(name) != nullptr;
}

CSpyObject* CSpyObjManager::CloneObject(const std::string& source, const std::string& newName,
                                        std::optional<SpyPoint> origPos, std::optional<u32> origColor) {
    const CSpyObject* original = GetObject(source);
    if (!original)
        return nullptr;
    std::shared_ptr<CSpyObject> clone = CreateObjectByClass(original->GetClassName());
    if (!clone)
        return nullptr;
    clone->CopyFrom(*original);
    clone->SetName(newName);
    clone->SetOrigPos(origPos.value_or(original->GetOrigPos()));
    clone->SetOrigColor(origColor.value_or(original->GetOrigColor()));
    m_objects.push_back(clone);
    return clone.get();
}

CSpyObject* CSpyObjManager::AddRectObject(const std::string& name, const std::string& group, SpyPoint pos,
                                          u32 width, u32 height) {
    auto object = std::make_shared<CSpyObject>();
    object->SetName(name);
    object->SetGroup(group);
    object->SetOrigPos(pos);
    object->SetBaseSize(width, height);
    object->SetOrigScale({1, 1});
    m_objects.push_back(object);
    return object.get();
}

u8* CSpyObjManager::SaveSelf(SaveLoadSystem& sys, u8* pos) {
    pos = sys.writeU32(pos, u32(m_objects.size()));
    for (const auto& object : m_objects)
        pos = object->SaveSelf(sys, sys.writeString(pos, object->GetName()));
    return pos;
}

const u8* CSpyObjManager::SkipMissing(SaveLoadSystem& sys, const u8* pos, bool last) const {
    const u32 left = sys.bytesLeftInRecord(pos);
    // The three record shapes: a bare, image or particle object; an animation; a text, whose length
    // is found by its terminating 0 (0 stands for no text shape when the record ends inside it).
    u32 sizes[3] = {CSpyObject::RecordSize, CSpyObjAnimation::RecordSize, 0};
    if (left >= CSpyObject::RecordSize) {
        const u8* at = pos + CSpyObject::RecordSize;
        u16 unit = 0;
        do
            at = sys.readU16(at, unit);
        while (unit != 0 && sys.bytesLeftInRecord(at) > 0);
        if (unit == 0)
            sizes[2] = u32(at - pos) + TextTailSize;
    }
    for (u32 size : sizes) {
        if (size == 0 || size > left)
            continue;
        const u8* end = pos + size;
        std::string next;
        if (last ? size == left : (sys.readString(end, next), HasObject(next)))
            return end;
    }
    return nullptr;
}

const u8* CSpyObjManager::LoadSelf(SaveLoadSystem& sys, const u8* pos) {
    u32 count = 0;
    pos = sys.readU32(pos, count);
    if (!countFits(sys, pos, count, MinEntrySize, "CSpyObjManager::LoadSelf()"))
        return pos + sys.bytesLeftInRecord(pos);
    for (u32 i = 0; i < count; ++i) {
        std::string name;
        pos = sys.readString(pos, name);
        if (CSpyObject* object = FindObject(name)) {
            pos = object->LoadSelf(sys, pos);
            continue;
        }
        const u8* next = SkipMissing(sys, pos, i + 1 == count);
        if (!next) {
            log("CSpyObjManager::LoadSelf(). Cannot tell where the record of the lost object '%s' ends",
                name.c_str());
            return pos + sys.bytesLeftInRecord(pos);
        }
        pos = next;
    }
    return pos;
}
