#pragma once
#include "game/SaveLoadEntity.h"
#include "game/SpyGame/SpyPoint.h"

#include <memory>
#include <string>

class aFont;
class aOptionsFile;
class aParticleSystem;
class aSound;
class CRoomItemLookup;
class CSpyItemManager;
class CSpyObjManager;
class CSpyObject;

// The clickable thing of a room: game logic laid over up to six scene objects (its main, hover and
// locked objects and their glow companions), which belong to the room's object manager. An item
// locks and unlocks by its dependences, highlights, flashes, sparkles and plays its sounds; the room,
// the inventory and the puzzles drive it through the virtual operations below.
class CSpyItem : public SaveLoadEntity {
public:
    // The fixed part of the record; the user data and its NUL follow.
    static constexpr u32 FixedRecordSize = 28;
    static constexpr u32 MinRecordSize = FixedRecordSize + 1;
    static const char* GetClassStaticName() { return "Item"; }

    enum Sound {
        ClickUseSound,
        BadClickUseSound,
        ApplySound,
        BadApplySound,
        UnlockSound,
        PickSound,
        StartAnimSound
    };
    static constexpr int SoundCount = 7;

    CSpyItem() = default;
    ~CSpyItem() override;
    CSpyItem(const CSpyItem&) = delete;
    CSpyItem& operator=(const CSpyItem&) = delete;

    const u8* LoadSelf(SaveLoadSystem& sys, const u8* pos) override;
    u8* SaveSelf(SaveLoadSystem& sys, u8* pos) override;

    virtual std::string GetClassName() const { return GetClassStaticName(); }
    // Reads the item's section, on which `ini` stands.
    virtual void OneTimeInit(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                             const std::string& roomName, aOptionsFile& ini, const std::string& name);
    // Binds the objects and sets the start state: every item starts locked.
    virtual void Reset();
    virtual void FrameMove(f32 dt);
    virtual void FrameMoveObject(f32 dt);
    virtual void Render();
    virtual void RenderIcon();
    virtual bool IsVisible() const { return m_state.visible; }
    virtual void SetInInventory(bool on);
    virtual bool IsInInventory() const { return m_state.inInventory; }
    virtual bool HitTest(i16 x, i16 y);
    virtual bool ClickUse();
    virtual void SetVisible(bool on);
    virtual SpyPoint GetPos() const;
    virtual SpyPoint GetHalfSize() const;
    virtual SpyPoint GetOrigPos() const;
    virtual void SetPos(i16 x, i16 y) { SetPos(f32(x), f32(y)); }
    // Moves the group of objects: companions, hover and locked objects keep their offsets.
    virtual void SetPos(f32 x, f32 y);
    virtual f32 GetRotation() const;
    virtual void SetRotation(f32 radians);
    virtual SpyPoint GetScale() const;
    virtual SpyPoint GetOrigScale() const;
    virtual void SetScale(SpyPoint scale, bool keepCentre);
    virtual bool IsQuestItem() const { return (m_def.questBits & 1) != 0; }
    virtual bool IsQuestItemBit2() const { return (m_def.questBits & 2) != 0; }
    virtual std::string GetUsedItem() const { return m_def.usedItem; }
    virtual bool ApplyItem(const std::string& itemName);
    virtual bool IsNotVanishOnApply() const { return m_def.notVanishOnApply; }
    virtual void SetDisabled(bool on) { m_state.disabled = on; }
    virtual void Unlock();
    virtual void Lock();
    virtual bool CanUnlock();
    virtual bool IsAutoActivateOnUnlock() const { return m_def.autoActivate; }
    virtual bool IsLocked() const { return m_state.locked || m_state.disabled; }
    virtual bool IsDisabled() const { return m_state.disabled; }
    virtual void SetHighlight(bool on) { m_state.highlight = on; }
    virtual bool IsHighlight() const { return m_state.highlight; }
    virtual void SetHighlightOnMouseHover(bool on) { m_state.highlightOnHover = on; }
    virtual void SetFlash(bool on) { m_state.flash = on; }
    virtual void SetSmoothFlash(bool on) { m_state.smoothFlash = on; }
    virtual void SetMagicStars(bool on);
    virtual void SetHighlightForLocked(bool on) { m_state.highlightForLocked = on; }
    virtual bool IsHighlightForLocked() const { return m_state.highlightForLocked; }
    virtual u16 GetWidth() const;
    virtual u16 GetHeight() const;
    virtual u32 GetColor() const;
    virtual u32 GetOrigColor() const;
    virtual void SetColor(u32 argb);
    virtual bool IsWin() const { return m_state.win; }
    virtual std::string GetGroup() const { return m_def.group; }
    virtual void SetText(const std::wstring& text);
    virtual std::wstring GetText() const;
    virtual aFont* GetFont() const;
    // -1 keeps each animation's mode.
    virtual void StartAnim(i32 mode);
    virtual bool IsAnimPlaying() const;
    virtual void SetAnimPaused(bool paused);
    virtual u32 GetFramesCount() const;
    virtual void SetFrame(u32 index);
    virtual bool CanAutoPick() const;

    const std::string& GetName() const { return m_def.name; }
    std::string GetISpyGroup() const { return m_def.iSpyGroup; }
    // "room:item", made anew on each call: names may change after a reference was taken.
    std::string GetFullName() const { return m_def.roomName + ":" + m_def.name; }
    const std::string& GetRoomName() const { return m_def.roomName; }
    const std::string& GetObjectName() const { return m_def.object; }
    bool IsISpyItem() const { return m_def.isISpyItem; }
    u8 DiffLevel() const { return m_def.diffLevel; }
    const std::string& UserData() const { return m_def.userData; }
    const std::string& GetCurrentUserData() const { return m_state.userData; }
    void SetCurrentUserData(const std::string& data) { m_state.userData = data; }
    aSound* GetSound(Sound which) const { return m_def.sounds[which]; }
    CSpyObject* GetMainObject() const { return m_bound.main; }
    aParticleSystem* GetEmitter() const { return m_emitter.get(); }
    bool IsHovered() const { return m_state.hovered; }

protected:
    friend class CSpyItemManager;

    // A bare item of the manager's own making: a rectangle object named `object`, nothing else set.
    void InitBare(CRoomItemLookup* rooms, CSpyItemManager* items, CSpyObjManager* objects,
                  const std::string& name, const std::string& roomName, const std::string& object,
                  bool visible);
    // Every definition and state field of `source` (a class adds its own), sharing its objects, sounds
    // and emitter.
    virtual void CopyFrom(const CSpyItem& source);
    void SetIdentity(const std::string& name, const std::string& object, CSpyObject* main);

    bool HighlightForLockedOff() const { return IsLocked() && !m_state.highlightForLocked; }
    void PlaySound(Sound which) const;
    // The item a name gives ("room:item" through the rooms, else in this room), or null; quietly or
    // with the lookup's missing-item line.
    CSpyItem* FindItem(const std::string& name, bool quiet) const;
    // Definition flags that a class sets whatever its section says; they act at the next Reset.
    void ForceHighlightOnHover() { m_def.highlightOnHover = true; }
    void ForceMagicStars() { m_def.magicStars = true; }

    CRoomItemLookup* m_rooms = nullptr;
    CSpyItemManager* m_items = nullptr;
    CSpyObjManager* m_objects = nullptr;

private:
    struct Pair {
        CSpyObject* object = nullptr;
        CSpyObject* companion = nullptr;
    };

    void ReadDefinition(aOptionsFile& ini);
    void ReadSounds(aOptionsFile& ini);
    void BindObjects();
    CSpyObject* BindObject(const std::string& name, CSpyObject*& companion) const;
    template <class F> void ForEachObject(F f) const;
    void CheckGroupsExist() const;
    // Silent: runs every frame. A dependence on a missing item holds.
    CSpyItem* FindDependence(const std::string& name) const;
    bool GroupMatches(const std::string& group, bool (*holds)(const CSpyItem&)) const;
    void StepEffects(f32 dt);
    void StepSmoothFlash(f32 dt);
    void UpdateLock();
    Pair ShownObjects() const;
    const CSpyObject* ShownForColor() const;
    f32 HighlightStrength() const;
    void RenderHighlight(CSpyObject& shown, f32 strength) const;
    void FitEmitter();
    void DrawRestartTimer();
    void AfterLoad();

    // Definition, read by OneTimeInit.
    struct Definition {
        // What building the hidden-object pools reads of every item of every room, side by side:
        // one or two cache lines per item instead of three far apart.
        bool isISpyItem = false;
        u8 diffLevel = 0;
        std::string name;
        std::string iSpyGroup;
        std::string roomName;
        std::string object;
        std::string hoverObject;
        std::string lockedObject;
        std::string usedItem;
        std::string winEvent;
        std::string group;
        std::string dependAccessItem, dependAccessGroup;
        std::string dependVisibleItem, dependVisibleGroup;
        std::string dependInvisibleItem, dependInvisibleGroup;
        std::string userData;
        aSound* sounds[SoundCount] = {};
        f32 restartMin = 0, restartMax = 0;
        bool visible = false;
        bool highlightOnHover = false;
        bool flash = false;
        bool smoothFlash = false;
        bool magicStars = false;
        bool highlightForLocked = false;
        u8 questBits = 0;
        bool notVanishOnApply = false;
        bool autoActivate = false;
        bool autoLock = false;
        bool autoPick = false;
    };
    // Objects bound by Reset; any may be null.
    struct Bound {
        CSpyObject* main = nullptr;
        CSpyObject* mainCompanion = nullptr;
        CSpyObject* hover = nullptr;
        CSpyObject* hoverCompanion = nullptr;
        CSpyObject* locked = nullptr;
        CSpyObject* lockedCompanion = nullptr;
    };
    // The saved state, in record order.
    struct State {
        bool inInventory = false;
        bool visible = false;
        bool requirementMet = false;
        bool highlight = false;
        bool win = false;
        bool highlightOnHover = false;
        bool flash = false;
        f32 flashTimer = 0;
        bool smoothFlash = false;
        f32 smoothValue = 0;
        bool smoothRising = false;
        bool magicStars = false;
        bool highlightForLocked = false;
        bool hovered = false;
        bool disabled = false;
        bool locked = false;
        bool showCompanion = false;
        f32 restartTimer = 0;
        std::string userData;
    };

    Definition m_def;
    Bound m_bound;
    std::shared_ptr<aParticleSystem> m_emitter;
    State m_state;
};
