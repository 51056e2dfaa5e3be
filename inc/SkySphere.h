#ifndef KELVO_SKYSPHERE_H
#define KELVO_SKYSPHERE_H

#include <memory>
#include <string>

#include "Action.inl"
#include "CommonObject.h"
#include "Exception.h"

class Environment;
class Sphere;

class SkySphereException : public Exception {
public:
    explicit SkySphereException(const std::string& message);
};

// The 3D scene's background: a textured sphere of radius 5 seen from inside, drawn around the eye
// with the camera's rotation but not its translation, without depth test or lighting, so that it
// stays behind everything at any distance. The scene draws it right after the camera instead of
// clearing the colour buffer. Its action "loadTexture" wraps a JPEG around it.
class SkySphere : public CommonObject, public Action<SkySphere> {
public:
    explicit SkySphere(Environment* owner);  // owner: the scene; not owned
    // Deletes the inner sphere and its surface; the textures stay in the scene's manager.
    ~SkySphere() override;
    SkySphere(const SkySphere&) = delete;
    SkySphere& operator=(const SkySphere&) = delete;

    // Names the sky sphere and its inner sphere.
    void setName(const std::string& name);

    // Replaces the sphere's surface with one of the scene's texture named file (created anew,
    // without mipmaps) loaded from file, mapped spherically, and records the sphere again.
    // Throws SkySphereException.
    void loadTexture(std::string file);

    // Time is not used. Before a "loadTexture" has succeeded, throws SkySphereException naming
    // this sky sphere and that action; otherwise throws what drawing the sphere throws, the matrix
    // and the switches restored first.
    void render(double time) override;

    Sphere& getSphere() { return *sphere; }

private:
    // Deletes the surfaces of the inner sphere's library, which this sky sphere made.
    void dropSurfaces();

    Environment* owner;              // not owned
    std::unique_ptr<Sphere> sphere;  // the inner sphere; its surfaces are this sky sphere's
    bool textured;                   // a "loadTexture" has succeeded
};

#endif
