#pragma once
#include "tk2v/file/aBaseManager.h"

#include <map>
#include <memory>
#include <string>

class aImageManager;
class aParticleSystem;

// The particle-system templates by key: a list line names a ".psys" file beside the list, and the
// key is that name (exact case), plus ":" and the group when one is given. Users receive the
// template itself and draw copies of it.
class CParticleManager : public aBaseManager {
public:
    CParticleManager() = default;
    ~CParticleManager() override;

    // The systems look their textures up in the image manager under the group.
    void setImageManager(aImageManager* images, const std::string& group);

    std::string parseListLine(const std::string& line) override { return line; }
    void loadResource(const std::string& dir, const std::string& line, const std::string& group) override;

    // Empty, after a log line, when there is no such template.
    std::shared_ptr<aParticleSystem> getParticle(const std::string& name, const std::string& group = "");
    // Erases the entries the list names; a line's name is its text up to the first blank.
    void unloadList(const std::string& listFile, const std::string& group = "");

private:
    std::map<std::string, std::shared_ptr<aParticleSystem>> m_particles;
    aImageManager* m_images = nullptr;
    std::string m_imageGroup;
};
