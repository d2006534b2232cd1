#pragma once
#include "tk2v/gfx/aGDI.h"
#include "tk2v/util/aCriticalSection.h"
#include "tk2v/util/aSingleton.h"
#include "tk2v/util/aTimer.h"
#include "tk2v/util/types.h"

#include <deque>
#include <memory>
#include <string>

class aImageManager;
class aSoundManager;
class aLocaleServer;
class aMusicManager;
class CParticleManager;
class CAnimManager;

// Owns the game's resource managers and runs a loading pass over their queued tasks one resource at
// a time, measuring its progress in load-cost units so that a loading screen can draw a bar.
class CResManager : public aSingleton<CResManager>, public aCriticalSection {
public:
    // Without the fade thread the owner drives the music fades (tests).
    explicit CResManager(bool musicFadeThread = true);
    ~CResManager();
    CResManager(const CResManager&) = delete;
    CResManager& operator=(const CResManager&) = delete;

    // Empties the task queues of every manager.
    void ClearTasks();
    // Starts a pass over what the image, sound and music managers have queued.
    void BeginLoading();
    // Loads one resource: music, then images, then sounds; when none is left, every particle and
    // animation task at once, and the pass is done.
    void LoadStep();
    // 0 .. 1: the measured speed times the pass's time, never ahead of the resource in progress;
    // 0 during the first 0.1 seconds.
    f32 GetProgress();
    bool isDone() const { return m_done; }

    // The text of "section:id" (the bare id without a section); empty when absent.
    std::wstring GetString(const std::string& id, const std::string& section = "") const;

    aImageManager* getImageManager() const { return m_images.get(); }
    aSoundManager* getSoundManager() const { return m_sounds.get(); }
    aLocaleServer* getLocaleServer() const { return m_locale.get(); }
    aMusicManager* getMusicManager() const { return m_music.get(); }
    CParticleManager* getParticleManager() const { return m_particles.get(); }
    CAnimManager* getAnimManager() const { return m_anims.get(); }
    aGDI& getGDI() { return m_gdi; }

    // The pass's figures in cost units, for the loading screen.
    f32 getTotalCost() const { return m_totalCost; }
    f32 getLoadedCost() const { return m_loadedCost; }
    f32 getCurrentCost() const { return m_currentCost; }
    size_t getPendingCosts() const { return m_costs.size(); }

private:
    // The managers call it with every file they have loaded.
    static void onTaskDone(const std::string& fileName);
    void taskDone();
    void setLoadCosts();

    std::unique_ptr<aImageManager> m_images;
    std::unique_ptr<aSoundManager> m_sounds;
    std::unique_ptr<aLocaleServer> m_locale;
    std::unique_ptr<aMusicManager> m_music;
    std::unique_ptr<CParticleManager> m_particles;
    std::unique_ptr<CAnimManager> m_anims;
    aGDI m_gdi;
    f32 m_totalCost = 0, m_loadedCost = 0, m_currentCost = 0, m_speed = 0;
    aTimer m_timer{0};
    bool m_done = false;
    // The costs of the tasks still to load, in the order they were gathered.
    std::deque<f32> m_costs;
};
