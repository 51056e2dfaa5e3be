#ifndef KELVO_GENERICENVIRONMENT_H
#define KELVO_GENERICENVIRONMENT_H

#include <string>

#include "Exception.h"

class EnvironmentException : public Exception {
public:
    explicit EnvironmentException(const std::string& message);
};

// What the environment controller knows of a scene: a named object that sets itself up for
// OpenGL, loads its resources and renders itself at a playback time.
class GenericEnvironment {
public:
    GenericEnvironment();
    virtual ~GenericEnvironment();

    virtual void initialize() = 0;
    virtual void loadResources() = 0;
    virtual void render(double time) = 0;  // time: playback seconds

    // Sets the view this scene draws with (projection, modelview, depth test, lighting,
    // texturing, blend function, clear colour). The controller calls it before every render, so
    // a scene never draws in the view another scene or the window set-up left behind.
    virtual void setViewState() = 0;

    void setName(const std::string& name);
    std::string getName() const;

    // The clear colour from "#rrggbb" or "#rrggbbaa"; touches no member of the scene.
    void setBackgroundColor(std::string colour);

    static void setClearColor(float r, float g, float b, float a);
    // Plain substring test against the driver's extension list; needs a current context.
    static bool isExtensionSupported(const std::string& name);

protected:
    // The one view shared by the scenes that are not 3D scenes: white clear colour,
    // glOrtho(-1, 1, -1, 1, -1, 1) with an identity modelview (modelview current afterwards), depth
    // test and lighting off, 2D texturing on. Blending is each scene's own choice.
    static void setFlatView();

    bool initialized;      // set by the derived initialize()
    bool resourcesLoaded;  // set by the derived loadResources()

private:
    std::string name;

    static std::string extensions;  // cached at the first query that finds a non-empty list
};

#endif
