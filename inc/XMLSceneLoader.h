#ifndef KELVO_XMLSCENELOADER_H
#define KELVO_XMLSCENELOADER_H

#include <string>
#include <vector>

#include <xercesc/util/XercesDefs.hpp>

#include "Vector.h"
#include "keyframer/TCBKey.h"

XERCES_CPP_NAMESPACE_BEGIN
class DOMNode;
XERCES_CPP_NAMESPACE_END

class Environment;
class Keyframer;

// Fills a 3D scene from an XML scene file: HPB cameras, lights and LightWave objects with their
// bones, each animated by a keyframer built from the file's TCB key channels. One loader serves one
// load call; the loader owns nothing afterwards (cameras, lights, actors and keyframers belong to
// the scene).
//
// The whole file is read and checked before the scene is touched, so a file that cannot be parsed
// leaves the scene as it was. Each camera, light and object node is guarded on its own: one that
// fails to read, to check or to load its LightWave file is logged at level 0, naming it, and left
// out whole; the other nodes load. An object whose file fails keeps the actor "loadLWO" leaves.
class XMLSceneLoader {
public:
    explicit XMLSceneLoader(Environment* environment);  // the scene to fill; not owned
    virtual ~XMLSceneLoader();
    XMLSceneLoader(const XMLSceneLoader&) = delete;
    XMLSceneLoader& operator=(const XMLSceneLoader&) = delete;

    // file is a resource name. Throws XMLParserException naming the file and what is wrong for a
    // file that is missing or not well formed, a root other than "scene" or a missing or bad "fps".
    // A node with a missing or bad attribute, channels whose key counts differ, a key outside
    // [0, 1], a bone without its rest values, a light or keyed actor name already taken, or a
    // LightWave file that fails to load is left out with its level-0 line.
    void load(const std::string& file);

    // Frames per second of every keyframer the file makes; 24 until a file's "fps" is read.
    float getFramesPerSecond() const { return framesPerSecond; }

private:
    // The channels a node's keyframer is built from, in this order.
    enum Channel {
        POSITION_X, POSITION_Y, POSITION_Z,
        ROTATION_H, ROTATION_P, ROTATION_B,
        SCALE_X, SCALE_Y, SCALE_Z,
        CHANNEL_COUNT
    };

    // The keys of one node's channels as the file gives them: frames in frame numbers, angles in
    // radians, z and bank not yet negated.
    struct Channels {
        std::vector<TCBKey<float>> keys[CHANNEL_COUNT];
        // A keyframer is made when a position or rotation channel has keys; scale alone makes none.
        bool needsKeyframer() const;
    };

    struct BoneNode {
        std::string name;
        Vector rest;          // rest position, z negated
        Vector restRotation;  // rest heading, pitch and bank in radians, bank negated
        Channels channels;
    };

    enum NodeKind { CAMERA, LIGHT, OBJECT };

    // One "camera", "light" or "object" child of "scene", read but not yet built.
    struct SceneNode {
        NodeKind kind = CAMERA;
        std::string name;
        std::string filename;  // objects: the LightWave file, a resource name
        Channels channels;
        bool hasTarget = false;  // cameras: a "target" whose keyframer is made and given to nothing
        Channels target;
        std::vector<BoneNode> bones;  // objects, in file order
    };

    // Reading: every step only reads the document and throws XMLParserException; a node that
    // throws is logged and left out.
    void loadSceneNodes(xercesc::DOMNode* scene);
    void loadCameraNode(xercesc::DOMNode* element, SceneNode& node);
    void loadLightNode(xercesc::DOMNode* element, SceneNode& node);
    // False for an object that only holds a layer's data: nothing of it is read or built.
    bool loadObjectNode(xercesc::DOMNode* element, SceneNode& node);
    void loadBones(xercesc::DOMNode* object, SceneNode& node);
    Channels loadKeyframerNode(xercesc::DOMNode* element);
    std::vector<TCBKey<float>> loadTCBFloatKeys(xercesc::DOMNode* channel, const std::string& channelName);
    TCBKey<float> loadTCBFloatKey(xercesc::DOMNode* key);
    Vector loadTranslation(xercesc::DOMNode* element, const std::string& name);
    Vector loadHpbRotation(xercesc::DOMNode* element, const std::string& name);
    // A required attribute as ISO-8859-1 text; its absence throws.
    std::string getAttribute(xercesc::DOMNode* element, const std::string& name) const;
    // A required attribute that must be a finite number and nothing else (blanks around allowed).
    float getFloatAttribute(xercesc::DOMNode* element, const std::string& name) const;

    // Building, once the whole file has been read. Both leave out the nodes that fail.
    void checkNames();
    void loadObjects();
    void createCamera(const SceneNode& node);
    void createLight(const SceneNode& node);
    void createObject(const SceneNode& node);
    // Null when no position or rotation channel has keys. The rest values are subtracted from the
    // keys (with z and bank negated as the file's values are).
    Keyframer* createKeyframer(const Channels& channels, const Vector& rest, const Vector& restRotation);

    Environment* environment;  // not owned
    float framesPerSecond;
    std::string path;  // the file being read, as the parser was given it; for messages
    std::vector<SceneNode> nodes;  // in file order
};

#endif
