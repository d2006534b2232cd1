#include "game/CResManager.h"

#include "game/CAnimManager.h"
#include "game/CParticleManager.h"
#include "game/GameConstants.h"
#include "tk2v/file/aLocaleServer.h"
#include "tk2v/gfx/aImageManager.h"
#include "tk2v/sound/aMusicManager.h"
#include "tk2v/sound/aSoundManager.h"

#include <algorithm>
#include <vector>

namespace {
// Every cost row has the same minimum size.
constexpr u32 MinCostSize = 1024;
// The bar stays empty this long, before the speed means anything.
constexpr f32 ProgressDelay = 0.1f;
} // namespace

CResManager::CResManager(bool musicFadeThread)
    : m_images(std::make_unique<aImageManager>()), m_sounds(std::make_unique<aSoundManager>()),
      m_locale(std::make_unique<aLocaleServer>()), m_music(std::make_unique<aMusicManager>(musicFadeThread)),
      m_particles(std::make_unique<CParticleManager>()), m_anims(std::make_unique<CAnimManager>()) {
    m_particles->setImageManager(m_images.get(), PARTICLES_IMAGE_GROUP);
    m_anims->setImageManager(m_images.get());
    setLoadCosts();
}

CResManager::~CResManager() {
    m_particles.reset();
    m_anims.reset();
    m_images.reset();
    m_music.reset();
    m_sounds.reset();
    m_locale.reset();
}

void CResManager::setLoadCosts() {
    struct Row {
        aBaseManager* manager;
        const char* extension;
        f32 weight;
    };
    const Row rows[] = {
        {m_images.get(), "png", 15.230181f},  {m_images.get(), "jpg", 40.593037f},
        {m_images.get(), "jng", 126.943245f}, {m_images.get(), "bmp", 17.628851f},
        {m_sounds.get(), "ogg", 90.618645f},  {m_sounds.get(), "mp3", 38.645351f},
        {m_sounds.get(), "wav", 2.711985f},   {m_music.get(), "ogg", 8.430028f},
        {m_music.get(), "mp3", 1.0f},         {m_music.get(), "wav", 2.622646f},
        {m_particles.get(), "psys", 1.0f},
    };
    for (const Row& row : rows)
        row.manager->setExtensionCost(row.extension, row.weight, MinCostSize);
    aBaseManager* const reporting[] = {m_images.get(), m_sounds.get(), m_music.get(), m_particles.get()};
    for (aBaseManager* manager : reporting)
        manager->setProgressCallback(onTaskDone);
}

void CResManager::ClearTasks() {
    m_images->clearTasks();
    m_sounds->clearTasks();
    m_music->clearTasks();
    m_particles->clearTasks();
    m_anims->clearTasks();
}

void CResManager::BeginLoading() {
    m_loadedCost = m_currentCost = m_speed = 0;
    m_done = false;
    m_timer.reset();
    std::vector<f32> costs;
    m_images->getTaskCosts(costs);
    m_sounds->getTaskCosts(costs);
    m_music->getTaskCosts(costs);
    m_costs.assign(costs.begin(), costs.end());
    m_totalCost = 0;
    for (f32 cost : costs)
        m_totalCost += cost;
    m_images->firstTask();
    m_sounds->firstTask();
    m_music->firstTask();
}

void CResManager::LoadStep() {
    aBaseManager* const order[] = {m_music.get(), m_images.get(), m_sounds.get()};
    for (aBaseManager* manager : order) {
        if (manager->hasCurrentTask()) {
            manager->loadCurrentTask();
            manager->nextTask();
            return;
        }
    }
    m_particles->runAllTasks();
    m_anims->loadTasks();
    m_done = true;
}

void CResManager::onTaskDone(const std::string&) {
    if (exists())
        getSingleton()->taskDone();
}

// The costs go off in the order they were gathered, whichever manager has just loaded; particle
// loads report too, after the list has run dry.
void CResManager::taskDone() {
    f32 finished = 0;
    if (!m_costs.empty()) {
        finished = m_costs.front();
        m_costs.pop_front();
    }
    m_currentCost = m_costs.empty() ? 0 : m_costs.front();
    m_loadedCost += finished;
    const f32 elapsed = m_timer.getElapsed();
    m_speed = elapsed > 0 ? m_loadedCost / elapsed : 0;
}

f32 CResManager::GetProgress() {
    const f32 t = m_timer.getElapsed();
    if (t <= ProgressDelay)
        return 0;
    // A pass with nothing to weigh (only particles queued) is complete, not a division by zero.
    if (m_totalCost <= 0)
        return 1;
    return std::min(t * m_speed, m_loadedCost + m_currentCost) / m_totalCost;
}

std::wstring CResManager::GetString(const std::string& id, const std::string& section) const {
    return m_locale->getString(id, section);
}
