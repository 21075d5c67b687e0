// The layer drawn over play, as the things in the world may use it: a hint hides it while
// it is read, scenery changes its frame, the backdrop shakes when the panic runs high.
// The screens implement it (Game/HUD); the world never includes them.
#pragma once

#include <string>

class Overlay
{
public:
    virtual void Hide() = 0;
    virtual void Show() = 0;
    virtual void SetTexture(const std::string& key) = 0;
    virtual std::string GetTexture() const = 0; // the frame's image key
    virtual float Panic() const = 0;            // rises to 1 as the dragon closes in

protected:
    ~Overlay() = default;
};

extern Overlay& gOverlay;
