#include "game/CParticleManager.h"

#include "tk2v/gfx/aParticleSystem.h"
#include "tk2v/util/log.h"

CParticleManager::~CParticleManager() {
    m_particles.clear();
}

void CParticleManager::setImageManager(aImageManager* images, const std::string& group) {
    m_images = images;
    m_imageGroup = group;
}

void CParticleManager::loadResource(const std::string& dir, const std::string& line,
                                    const std::string& group) {
    if (!m_images) {
        log("CParticleManager. Class Not Initialized!");
        return;
    }
    const std::string key = makeKey(line, group);
    if (m_particles.count(key)) {
        log("CParticleManager. Particle with name \"%s\" already loaded!", key.c_str());
        return;
    }
    // A bad file is reported by the system itself and still stored, with its defaults.
    auto system = std::make_shared<aParticleSystem>(dir + line + ".psys", m_images, m_imageGroup);
    system->reset();
    m_particles.emplace(key, std::move(system));
    reportProgress(line + ".psys");
}

std::shared_ptr<aParticleSystem> CParticleManager::getParticle(const std::string& name,
                                                               const std::string& group) {
    auto found = m_particles.find(makeKey(name, group));
    if (found != m_particles.end())
        return found->second;
    log("CParticleManager. Cannot find particle: " + name + (group.empty() ? "" : " : " + group));
    return {};
}

void CParticleManager::unloadList(const std::string& listFile, const std::string& group) {
    for (const std::string& line : listLines(listFile))
        m_particles.erase(makeKey(line.substr(0, findBlank(line, 0)), group));
}
