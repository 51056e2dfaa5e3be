#ifndef KELVO_ENVIRONMENT_H
#define KELVO_ENVIRONMENT_H

#include <memory>
#include <string>

#include "Action.inl"
#include "CameraController.h"
#include "Factory.h"
#include "Fader.h"
#include "GenericEnvironment.h"
#include "KeyframerController.h"
#include "Light.h"
#include "RGBA.h"
#include "TextureManager.h"

class Actor;
class KeyframedActor;
class KeyframedMesh;
class SkySphere;
class FontSet;
class Sprite2D;
class Sprite3D;
class Surface;
class Text3D;

// The 3D scene: its lights, surfaces and faders by name, its textures, cameras and keyframers,
// drawn every frame through the current camera in one fixed order: lights, then the scene's
// objects, faders last. It hands out OpenGL light numbers and keeps the scene-wide lighting switch
// that its lit objects consult. The timeline reaches it, its texture manager ("textureManager"),
// its camera controller ("cameraController") and the objects it creates by name.
class Environment : public GenericEnvironment, public Action<Environment> {
public:
    Environment();
    // Deletes everything the scene holds: its factories own their components, and the scene its
    // sky sphere, keyframer controller, texture manager and camera controller.
    ~Environment() override;
    Environment(const Environment&) = delete;
    Environment& operator=(const Environment&) = delete;

    // Once: loads the resources, decides the lighting switch from the lights that exist now, sets
    // the lighting model and initialises the keyframers.
    void initialize() override;
    void loadResources() override;
    // One frame at time (playback seconds). Throws the camera controller's not-found error when
    // there is no current camera; an object's failure leaves unchanged.
    void render(double time) override;
    // The scene's own view: the start-up perspective, depth test on, lighting by the switch and no
    // light on beyond the scene's own, texturing on, blending off with the start-up blend function,
    // the scene's clear colour.
    void setViewState() override;

    // Reads the 3D Studio file (relative to the resource folder) into this scene: meshes, materials,
    // lights, cameras and keyframes. Throws EnvironmentException naming the file and the loader's
    // failure; what was read before a failure stays in the scene.
    void load3DS(std::string file);
    // A screen-space sprite (createSprite) or a camera-facing one (createSprite3D), the child
    // name. Throws EnvironmentException, also when the name is taken.
    void createSprite(std::string name);
    void createSprite3D(std::string name);
    // Loads the LightWave object file (a resource name) into an actor of this scene named after the
    // file, once per scene: a file already loaded is not loaded again. The actor is stored only once
    // it has loaded; after a failure nothing of it is kept, so the next load of the file tries the
    // file again. Throws EnvironmentException.
    void loadLWO(std::string file);
    // Fills this scene from the XML scene file (a resource name): cameras, lights, and keyed actors
    // over the LightWave objects the file names. A file that cannot be parsed changes nothing and
    // throws EnvironmentException naming the file; a broken camera, light or object node is logged
    // and left out, and the other nodes load.
    void loadXMLScene(std::string file);
    // A black fader from opaque to transparent over the first two seconds, the child name.
    // Throws EnvironmentException, also when the name is taken.
    void createFader(std::string name);
    // As GenericEnvironment::setBackgroundColor; the scene keeps the colour as its clear colour.
    void setBackgroundColor(std::string colour);
    // A new sky sphere named name, drawn instead of the colour clear; it replaces (and deletes) the
    // scene's earlier one, whose name then reaches nothing.
    void createSkySphere(std::string name);
    // Stops the named actor from being drawn. An unknown name is logged and otherwise ignored.
    void disableActor(std::string name);
    // An empty 3D text (createText3D) or font set (createFontSet), the child name. Throw
    // EnvironmentException, also when the name is taken.
    void createText3D(std::string name);
    void createFontSet(std::string name);

    // The projection setViewState loads: fovy in degrees, aspect width / height, clipping
    // distances in front of the eye. The controller passes on what start-up set.
    void setPerspective(float fovy, float aspect, float zNear, float zFar);

    TextureManager& getTextureManager() { return textureManager; }
    CameraController& getCameraController() { return cameraController; }
    KeyframerController& getKeyframerController() { return *keyframerController; }
    // Null until "createSkySphere".
    SkySphere* getSkySphere() const { return skySphere.get(); }
    Factory<Light>& getLights() { return lights; }
    Factory<Surface>& getSurfaces() { return surfaces; }
    // 3D Studio meshes, drawn every frame in name order.
    Factory<KeyframedMesh>& getKeyframedMeshes() { return keyframedMeshes; }
    // LightWave objects by file name; drawn through keyframed actors, never by the scene itself.
    Factory<Actor>& getActors() { return actors; }
    // Actors on stage, drawn every frame in name order after the keyframed meshes.
    Factory<KeyframedActor>& getKeyframedActors() { return keyframedActors; }
    Factory<Sprite2D>& getSprites2D() { return sprites2D; }
    Factory<Sprite3D>& getSprites3D() { return sprites3D; }
    Factory<Fader>& getFaders() { return faders; }
    Factory<Text3D>& getTexts3D() { return texts3D; }
    Factory<FontSet>& getFontSets() { return fontSets; }

    // The scene-wide lighting switch; lit objects read it to switch GL_LIGHTING around unlit
    // drawing.
    bool isLightingEnabled() const { return lighting; }
    void setLightingEnabled(bool on) { lighting = on; }
    // The global ambient light, applied when the scene initialises and sets its view.
    void setAmbient(float r, float g, float b);

    // GL_LIGHT0 + the number of lights that have one already. Throws EnvironmentException when
    // GL_MAX_LIGHTS are taken.
    int reserveLightIndex();
    // Gives back the most recently reserved number (numbers behave as a stack) and switches that
    // light off.
    void releaseLightIndex(int light);
    int getLightCount() const { return lightCount; }

    // GL_TEXTURE_2D on or off, and GL_LIGHTING with it while the lighting switch is on.
    void enableTexturing();
    void disableTexturing();
    bool isTexturingEnabled() const { return texturing; }

    // The surface whose OpenGL state is active; kept by Surface::enable and Surface::disable.
    Surface* getCurrentSurface() const { return currentSurface; }
    void setCurrentSurface(Surface* surface) { currentSurface = surface; }

    bool isInitialized() const { return initialized; }
    bool areResourcesLoaded() const { return resourcesLoaded; }

    // The statistics line.
    void printInfo();

private:
    // The camera the frame is seen through, looked up once per frame. Without one it throws
    // ComponentNotFoundException naming the scene, what is missing and the action that sets it.
    Camera* currentCamera() const;

    // Stores the component make() builds under name in factory and makes it the child of that
    // name; a name already taken (or any failure) throws EnvironmentException with failure and
    // the cause's message. Nothing is built for a taken name.
    template <typename T, typename Make>
    void createNamed(Factory<T>& factory, const std::string& name, const char* failure, Make make);

    int lightCount;  // OpenGL light numbers handed out
    TextureManager textureManager;
    Surface* currentSurface;  // not owned
    RGBA ambient;             // GL_LIGHT_MODEL_AMBIENT
    bool texturing;           // last state set by enableTexturing / disableTexturing
    std::unique_ptr<SkySphere> skySphere;  // drawn instead of the colour clear when there is one
    std::unique_ptr<KeyframerController> keyframerController;
    CameraController cameraController;
    Factory<Light> lights;
    Factory<Surface> surfaces;  // the scene's surface library; meshes keep their own
    Factory<KeyframedMesh> keyframedMeshes;
    Factory<Actor> actors;
    Factory<KeyframedActor> keyframedActors;
    Factory<Sprite2D> sprites2D;
    Factory<Sprite3D> sprites3D;
    Factory<Fader> faders;
    Factory<Text3D> texts3D;
    Factory<FontSet> fontSets;  // drawn only through the texts that use them
    bool lighting;  // cleared by initialize when the scene has no lights then

    RGBA clearColour;  // from "setBackgroundColor"; OpenGL's initial clear colour until then
    float fieldOfView;  // degrees
    float aspect;       // width / height
    float zNear;        // clipping distances
    float zFar;
};

#endif
