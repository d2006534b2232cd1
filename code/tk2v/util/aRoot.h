#pragma once

// Root of the engine's polymorphic objects.
class aRoot {
public:
    virtual ~aRoot() = default;
};
