#include "XMLSceneLoader.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <memory>
#include <set>

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/XMLException.hpp>

#include "Actor.h"
#include "DOMTreeErrorReporter.h"
#include "Environment.h"
#include "HpbCamera.h"
#include "KeyframedActor.h"
#include "Keyframer.h"
#include "Light.h"
#include "Log.h"
#include "StringUtil.h"
#include "TranscodedString.h"
#include "XMLFileParser.h"
#include "XMLTimeline.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const float DEFAULT_FRAMES_PER_SECOND = 24.0f;

// Object names of this suffix hold a LightWave layer's data, which the object itself brings.
const char* const LAYER_SUFFIX = ":Layer1";

// The channel names of the file and the words of their log lines, in the order of
// XMLSceneLoader::Channel.
struct ChannelName {
    const char* name;
    const char* logText;
};
const ChannelName CHANNEL_NAMES[] = {
    {"Position.X", "X Coordinate Position"}, {"Position.Y", "Y Coordinate Position"},
    {"Position.Z", "Z Coordinate Position"}, {"Rotation.H", "H Coordinate Rotation"},
    {"Rotation.P", "P Coordinate Rotation"}, {"Rotation.B", "B Coordinate Rotation"},
    {"Scale.X", "X Coordinate Scale"},       {"Scale.Y", "Y Coordinate Scale"},
    {"Scale.Z", "Z Coordinate Scale"},
};

std::string nodeName(const xercesc::DOMNode* node)
{
    return TranscodedString(node->getNodeName()).c_str();
}

bool isElement(const xercesc::DOMNode* node)
{
    return node->getNodeType() == xercesc::DOMNode::ELEMENT_NODE;
}

bool hasAttributes(const xercesc::DOMNode* element)
{
    const xercesc::DOMNamedNodeMap* attributes = element->getAttributes();
    return attributes && attributes->getLength() > 0;
}

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// The whole text as a finite float, whatever the process locale: blanks around it and one leading
// '+' are allowed, anything else beside the number is not; "inf", "nan", hexadecimal and values
// beyond the float range are refused.
bool parseNumber(const std::string& text, float& result)
{
    const char* begin = text.data();
    const char* end = begin + text.size();
    while (begin < end && isBlank(*begin))
        ++begin;
    while (end > begin && isBlank(end[-1]))
        --end;
    if (end - begin >= 2 && begin[0] == '+' && begin[1] != '-')
        ++begin;
    double value = 0.0;
    const std::from_chars_result parsed = std::from_chars(begin, end, value, std::chars_format::general);
    if (parsed.ec != std::errc() || parsed.ptr != end || begin == end)
        return false;
    if (!std::isfinite(value) || std::fabs(value) > FLT_MAX)
        return false;
    result = static_cast<float>(value);
    return true;
}

// Runs step, the guard of one scene node: a failure is logged at level 0 under the operation that
// reads or builds the node, its cause told with the node it broke (what), and false returned so
// that the load goes on with the next node.
template <typename Step> bool guarded(const std::string& operation, const std::string& what, Step step)
{
    std::string logged;
    try {
        try {
            step();
        } catch (const Exception& e) {
            throw XMLParserException(operation + "() - " + what + " cannot be loaded. " + e.getMessage());
        }
        return true;
    } catch (const xercesc::XMLException& e) {
        logged = operation + "() - An error occured during XML parsing. Message: " +
                 TranscodedString(e.getMessage()).c_str();
    } catch (const xercesc::DOMException& e) {
        logged = operation + "() - A DOM error occured during parsing. DOMException code: " +
                 toString(static_cast<int>(e.code)) + ". Message: " + TranscodedString(e.getMessage()).c_str();
    } catch (const Exception& e) {
        logged = operation + "() - An Exception occurred while loading." + e.getMessage();
    } catch (...) {
        logged = operation + "() - An unknown error occured during parsing.";
    }
    KELVO_LOG(LogLevel::error) << logged << logEnd;
    return false;
}
}

bool XMLSceneLoader::Channels::needsKeyframer() const
{
    for (int c = POSITION_X; c <= ROTATION_B; ++c)
        if (!keys[c].empty())
            return true;
    return false;
}

XMLSceneLoader::XMLSceneLoader(Environment* environment)
    : environment(environment), framesPerSecond(DEFAULT_FRAMES_PER_SECOND)
{
}

XMLSceneLoader::~XMLSceneLoader() = default;

void XMLSceneLoader::load(const std::string& file)
{
    // A file the reporter found faults in is told with the scene loader's own opening words.
    const std::unique_ptr<XMLFileParser> parser = XMLFileParser::loadResource(file, path, LOG_SOURCE, "Arrggh! ");

    xercesc::DOMNode* scene = getChildElement("scene", parser->getDocument());
    if (!scene)
        throw XMLParserException("load() - Error! The root element of " + quoted(path) + " is not \"scene\".");
    framesPerSecond = getFloatAttribute(scene, "fps");
    // The keyframers turn seconds into frames with it.
    if (!(framesPerSecond > 0.0f))
        throw XMLParserException("load() - Error! The frame rate \"fps\" of " + quoted(path) + " must be above 0.");
    KELVO_LOG(LogLevel::debug) << "load() - Default fps: "
                 << static_cast<double>(framesPerSecond) << logEnd;

    // Every node is read first; a node that fails to read or to check is left out, so nothing of
    // it is built.
    loadSceneNodes(scene);
    checkNames();
    // The objects' files next: of all the steps that touch the scene, only they can fail.
    loadObjects();
    for (const SceneNode& node : nodes) {
        switch (node.kind) {
        case CAMERA:
            createCamera(node);
            break;
        case LIGHT:
            createLight(node);
            break;
        case OBJECT:
            createObject(node);
            break;
        }
    }
}

void XMLSceneLoader::loadSceneNodes(xercesc::DOMNode* scene)
{
    for (xercesc::DOMNode* child = scene->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElement(child))
            continue;
        const std::string element = nodeName(child);
        SceneNode node;
        // Required of a camera, light or object: its guard below fails a node without one.
        if (xercesc::DOMNode* name = getAttributeNode("name", child))
            node.name = TranscodedString(name->getNodeValue()).c_str();
        KELVO_LOG(LogLevel::debug) << "loadSceneNodes() - Loading " << element << " called "
                     << quoted(node.name) << "." << logEnd;
        const std::string what = quoted(node.name) + " of " + quoted(path);
        bool keep = true;
        if (element == "camera") {
            node.kind = CAMERA;
            keep = guarded("loadCameraNode", "Camera " + what, [&] {
                getAttribute(child, "name");
                loadCameraNode(child, node);
            });
        } else if (element == "object") {
            node.kind = OBJECT;
            const bool read = guarded("loadObjectNode", "Object " + what, [&] {
                getAttribute(child, "name");
                keep = loadObjectNode(child, node);
            });
            keep = keep && read;
        } else if (element == "light") {
            node.kind = LIGHT;
            keep = guarded("loadLightNode", "Light " + what, [&] {
                getAttribute(child, "name");
                loadLightNode(child, node);
            });
        } else {
            KELVO_LOG(LogLevel::warning) << "loadSceneNodes() - What!? The scene node " << quoted(element)
                         << " is unknown (unsupported)!" << logEnd;
            continue;
        }
        if (keep)
            nodes.push_back(std::move(node));
    }
}

void XMLSceneLoader::loadCameraNode(xercesc::DOMNode* element, SceneNode& node)
{
    node.channels = loadKeyframerNode(element);
    if (xercesc::DOMNode* target = getChildElement("target", element)) {
        node.hasTarget = true;
        node.target = loadKeyframerNode(target);
    }
}

void XMLSceneLoader::loadLightNode(xercesc::DOMNode* element, SceneNode& node)
{
    node.channels = loadKeyframerNode(element);
}

bool XMLSceneLoader::loadObjectNode(xercesc::DOMNode* element, SceneNode& node)
{
    node.filename = getAttribute(element, "filename");
    if (node.name.find(LAYER_SUFFIX) != std::string::npos) {
        KELVO_LOG(LogLevel::debug) << "loadObjectNode() - Skipping layer data for " << quoted(node.name)
                     << "." << logEnd;
        return false;
    }
    KELVO_LOG(LogLevel::debug) << "loadObjectNode() - Loading object " << quoted(node.name)
                 << " from " << quoted(node.filename) << "." << logEnd;
    node.channels = loadKeyframerNode(element);
    loadBones(element, node);
    return true;
}

void XMLSceneLoader::loadBones(xercesc::DOMNode* object, SceneNode& node)
{
    for (xercesc::DOMNode* child = object->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElement(child) || nodeName(child) != "bone")
            continue;
        BoneNode bone;
        if (xercesc::DOMNode* name = getAttributeNode("name", child))
            bone.name = TranscodedString(name->getNodeValue()).c_str();
        KELVO_LOG(LogLevel::debug) << "loadBones() - Loading bone " << quoted(bone.name) << ". "
                     << logEnd;
        try {
            bone.rest = loadTranslation(child, "restposition");
            bone.restRotation = loadHpbRotation(child, "restrotation");
            bone.channels = loadKeyframerNode(child);
        } catch (const Exception& e) {
            throw XMLParserException("loadBones() - Bone " + quoted(bone.name) + " is broken. " + e.getMessage());
        }
        node.bones.push_back(std::move(bone));
    }
}

XMLSceneLoader::Channels XMLSceneLoader::loadKeyframerNode(xercesc::DOMNode* element)
{
    static_assert(sizeof(CHANNEL_NAMES) / sizeof(CHANNEL_NAMES[0]) == CHANNEL_COUNT, "one name per channel");
    Channels channels;
    for (xercesc::DOMNode* child = element->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElement(child))
            continue;
        const std::string kind = nodeName(child);
        std::string name;
        if (xercesc::DOMNode* attribute = getAttributeNode("name", child))
            name = TranscodedString(attribute->getNodeValue()).c_str();
        KELVO_LOG(LogLevel::debug) << "loadKeyframerNode() - Loading " << kind << " " << quoted(name)
                     << ". " << logEnd;
        if (kind != "channel") {
            KELVO_LOG(LogLevel::debug) << "loadKeyframerNode() - Skipping unsupported node "
                         << quoted(kind) << "." << logEnd;
            continue;
        }
        // The keys of a channel of another name are checked as well, then dropped.
        std::vector<TCBKey<float>> keys = loadTCBFloatKeys(child, name);
        for (int c = 0; c < CHANNEL_COUNT; ++c) {
            if (name != CHANNEL_NAMES[c].name)
                continue;
            KELVO_LOG(LogLevel::debug) << "loadKeyframerNode() - Keys for "
                         << CHANNEL_NAMES[c].logText << ": " << toString(static_cast<int>(keys.size()))
                         << logEnd;
            // A later channel of the same name replaces the earlier one's keys.
            channels.keys[c] = std::move(keys);
            break;
        }
    }

    // The channels of a group are combined key by key, so their counts must agree. Nothing is
    // built from a node without position or rotation keys, so its scale channels go unchecked.
    if (!channels.needsKeyframer())
        return channels;
    const std::vector<TCBKey<float>>* k = channels.keys;
    if (!k[POSITION_X].empty() &&
        (k[POSITION_Y].size() != k[POSITION_X].size() || k[POSITION_Z].size() != k[POSITION_X].size()))
        throw XMLParserException("loadKeyframerNode() - Panic! Key counts for X, Y and Z position keys do not match! "
                                 "Unable to create key vectors.");
    if (!k[ROTATION_H].empty() && !k[ROTATION_P].empty() && !k[ROTATION_B].empty() &&
        (k[ROTATION_P].size() != k[ROTATION_H].size() || k[ROTATION_B].size() != k[ROTATION_H].size()))
        throw XMLParserException("loadKeyframerNode() - Panic! Key counts for H, P and B rotation keys do not match! "
                                 "Unable to create key quaternions");
    if (!k[SCALE_X].empty() && (k[SCALE_Y].size() != k[SCALE_X].size() || k[SCALE_Z].size() != k[SCALE_X].size()))
        throw XMLParserException("loadKeyframerNode() - Panic! Key counts for X, Y and Z scale keys do not match! "
                                 "Unable to create key quaternions");
    return channels;
}

std::vector<TCBKey<float>> XMLSceneLoader::loadTCBFloatKeys(xercesc::DOMNode* channel, const std::string& channelName)
{
    std::vector<TCBKey<float>> keys;
    int number = 0;
    for (xercesc::DOMNode* child = channel->getFirstChild(); child; child = child->getNextSibling()) {
        if (!isElement(child))
            continue;
        ++number;
        try {
            keys.push_back(loadTCBFloatKey(child));
        } catch (const Exception& e) {
            throw XMLParserException("loadTCBFloatKeys() - Key " + toString(number) + " of channel " + quoted(channelName) +
                                     " is broken. " + e.getMessage());
        }
    }
    return keys;
}

TCBKey<float> XMLSceneLoader::loadTCBFloatKey(xercesc::DOMNode* key)
{
    if (!hasAttributes(key))
        throw XMLParserException("loadTCBFloatKey() - An empty \"key\" node found! Please add frame, value, curve and "
                                 "t,c,b parameters.");
    const float frame = getFloatAttribute(key, "frame");
    const float value = getFloatAttribute(key, "value");
    const std::string curve = getAttribute(key, "curve");
    float tension = 0.0f;
    float continuity = 0.0f;
    float bias = 0.0f;
    if (curve == "tcb") {
        tension = getFloatAttribute(key, "tension");
        continuity = getFloatAttribute(key, "continuity");
        bias = getFloatAttribute(key, "bias");
        KELVO_LOG(LogLevel::debug) << "loadTCBFloatKey() - frame " << static_cast<double>(frame)
                     << ": " << static_cast<double>(value) << " (t=" << static_cast<double>(tension)
                     << ", c=" << static_cast<double>(continuity) << ", b=" << static_cast<double>(bias) << ")"
                     << logEnd;
    } else {
        KELVO_LOG(LogLevel::debug) << "loadTCBFloatKey() - frame " << static_cast<double>(frame)
                     << ": " << static_cast<double>(value) << " (WARN! " << quoted(curve) << " curve)" << logEnd;
    }
    // Throws InvalidParameterValueException for spline values outside [0, 1].
    return TCBKey<float>(frame, value, tension, continuity, bias);
}

Vector XMLSceneLoader::loadTranslation(xercesc::DOMNode* element, const std::string& name)
{
    xercesc::DOMNode* node = nodeName(element) == name ? element : getChildElement(name, element);
    if (!node)
        throw XMLParserException("loadTranslation() - Translation node " + quoted(name) +
                                 " not found under the given XML DOM node.");
    if (!hasAttributes(node))
        throw XMLParserException("loadTranslation() - Translation node " + quoted(name) +
                                 " is empty! Please add x, y and z parameters.");
    // LightWave's z axis points the other way.
    const Vector translation(getFloatAttribute(node, "x"), getFloatAttribute(node, "y"), -getFloatAttribute(node, "z"));
    KELVO_LOG(LogLevel::debug) << "loadTranslation() - Node " << quoted(name)
                 << ": x=" << static_cast<double>(translation.x) << ", y=" << static_cast<double>(translation.y)
                 << ", z=" << static_cast<double>(translation.z) << logEnd;
    return translation;
}

Vector XMLSceneLoader::loadHpbRotation(xercesc::DOMNode* element, const std::string& name)
{
    xercesc::DOMNode* node = nodeName(element) == name ? element : getChildElement(name, element);
    if (!node)
        throw XMLParserException("loadHpbRotation() - Rotation node " + quoted(name) +
                                 " not found under the given XML DOM node.");
    if (!hasAttributes(node))
        throw XMLParserException("loadHpbRotation() - Rotation node " + quoted(name) +
                                 " is empty! Please add h, p and b parameters.");
    // Radians; the bank turns the other way with the z axis.
    const Vector rotation(getFloatAttribute(node, "h"), getFloatAttribute(node, "p"), -getFloatAttribute(node, "b"));
    KELVO_LOG(LogLevel::debug) << "loadHpbRotation() - Node " << quoted(name)
                 << ": h=" << static_cast<double>(rotation.x) << ", p=" << static_cast<double>(rotation.y)
                 << ", b=" << static_cast<double>(rotation.z) << logEnd;
    return rotation;
}

std::string XMLSceneLoader::getAttribute(xercesc::DOMNode* element, const std::string& name) const
{
    xercesc::DOMNode* attribute = getAttributeNode(name, element);
    if (!attribute)
        throw XMLParserException("getAttribute() - Error! Attribute " + quoted(name) + " of " + quoted(nodeName(element)) +
                                 " is missing in " + quoted(path) + ".");
    return TranscodedString(attribute->getNodeValue()).c_str();
}

float XMLSceneLoader::getFloatAttribute(xercesc::DOMNode* element, const std::string& name) const
{
    const std::string text = getAttribute(element, name);
    float value = 0.0f;
    if (!parseNumber(text, value))
        throw XMLParserException("getFloatAttribute() - Error! Attribute " + quoted(name) + " of " + quoted(nodeName(element)) +
                                 " in " + quoted(path) + " is not a number: " + quoted(text) + ".");
    return value;
}

void XMLSceneLoader::checkNames()
{
    // Names taken in the scene or earlier in the file; cameras of one name replace each other.
    std::set<std::string> lightNames;
    std::set<std::string> actorNames;
    std::vector<SceneNode> kept;
    for (SceneNode& node : nodes) {
        const std::string what = quoted(node.name) + " of " + quoted(path);
        bool free = true;
        if (node.kind == LIGHT) {
            free = guarded("loadLightNode", "Light " + what, [&] {
                Factory<Light>& lights = environment->getLights();
                if (lights.exists(node.name) || !lightNames.insert(node.name).second)
                    throw ComponentAlreadyExistsException(lights.getFactoryName(),
                                                          "create() - Unable to create new component. Component " +
                                                              quoted(node.name) + " already exists in this factory!.");
            });
        } else if (node.kind == OBJECT) {
            free = guarded("loadObjectNode", "Object " + what, [&] {
                Factory<KeyframedActor>& actors = environment->getKeyframedActors();
                const std::string actorName = "Keyframed " + node.name;
                if (actors.exists(actorName) || !actorNames.insert(actorName).second)
                    throw ComponentAlreadyExistsException(actors.getFactoryName(),
                                                          "create() - Unable to create new component. Component " +
                                                              quoted(actorName) + " already exists in this factory!.");
            });
        }
        if (free)
            kept.push_back(std::move(node));
    }
    nodes.swap(kept);
}

void XMLSceneLoader::loadObjects()
{
    std::vector<SceneNode> kept;
    for (SceneNode& node : nodes) {
        const bool loaded =
            node.kind != OBJECT || guarded("loadObjectNode", "Object " + quoted(node.name) + " of " + quoted(path), [&] {
                // An object file already loaded into the scene is used again.
                environment->loadLWO(node.filename);
                environment->getActors().find(node.filename);
            });
        if (loaded)
            kept.push_back(std::move(node));
    }
    nodes.swap(kept);
}

void XMLSceneLoader::createCamera(const SceneNode& node)
{
    guarded("loadCameraNode", "Camera " + quoted(node.name) + " of " + quoted(path), [&] {
        Keyframer* keyframer = createKeyframer(node.channels, Vector(), Vector());
        KELVO_LOG(LogLevel::debug) << "loadCameraNode() - Creating h,p,b camera " << quoted(node.name)
                     << ". " << logEnd;
        CameraController& cameras = environment->getCameraController();
        cameras.createHpbCamera(node.name);
        if (HpbCamera* camera = dynamic_cast<HpbCamera*>(cameras.find(node.name)))
            camera->setKeyframer(keyframer);
        // The target's keyframer stays with the scene's keyframers; no camera follows a target.
        if (node.hasTarget)
            createKeyframer(node.target, Vector(), Vector());
    });
}

void XMLSceneLoader::createLight(const SceneNode& node)
{
    guarded("loadLightNode", "Light " + quoted(node.name) + " of " + quoted(path), [&] {
        Keyframer* keyframer = createKeyframer(node.channels, Vector(), Vector());
        KELVO_LOG(LogLevel::debug) << "loadLightNode() - Creating light " << quoted(node.name)
                     << ". " << logEnd;
        // Otherwise the light keeps its constructor's colours and position.
        Light* light = environment->getLights().create(node.name, environment);
        if (keyframer)
            light->setKeyframer(keyframer);
    });
}

void XMLSceneLoader::createObject(const SceneNode& node)
{
    guarded("loadObjectNode", "Object " + quoted(node.name) + " of " + quoted(path), [&] {
        Actor* actor = environment->getActors().find(node.filename);
        Keyframer* keyframer = createKeyframer(node.channels, Vector(), Vector());
        const std::string actorName = "Keyframed " + node.name;
        Factory<KeyframedActor>& keyedActors = environment->getKeyframedActors();
        auto keyed = std::make_unique<KeyframedActor>();
        keyed->setName(actorName);
        keyed->setActor(actor);
        keyed->setKeyframer(keyframer);
        for (const BoneNode& bone : node.bones)
            keyed->setBoneKeyframer(bone.name, createKeyframer(bone.channels, bone.rest, bone.restRotation));
        KeyframedActor* stored = keyedActors.store(actorName, std::move(keyed));
        KELVO_LOG(LogLevel::info) << "loadObjectNode() - Created " << quoted(stored->getName())
                     << " from Actor " << quoted(actor->getName()) << " and Keyframer \""
                     << (keyframer ? keyframer->getName() : std::string("<NULL>")) << "\"." << logEnd;
    });
}

Keyframer* XMLSceneLoader::createKeyframer(const Channels& channels, const Vector& rest, const Vector& restRotation)
{
    if (!channels.needsKeyframer())
        return nullptr;
    Keyframer* keyframer = environment->getKeyframerController().createKeyframer();
    keyframer->setFrameRate(framesPerSecond);

    // Key i of a group takes frame and spline values from key i of the group's first channel.
    const std::vector<TCBKey<float>>* k = channels.keys;
    const std::vector<TCBKey<float>>& x = k[POSITION_X];
    if (!x.empty()) {
        for (size_t i = 0; i < x.size(); ++i)
            keyframer->addPositionKey(
                x[i].frame,
                Vector(x[i].value - rest.x, k[POSITION_Y][i].value - rest.y, -k[POSITION_Z][i].value - rest.z),
                x[i].tension, x[i].continuity, x[i].bias);
        keyframer->setPositionRange(x.front().frame, x.back().frame);
    }
    const std::vector<TCBKey<float>>& h = k[ROTATION_H];
    if (!h.empty() && !k[ROTATION_P].empty() && !k[ROTATION_B].empty()) {
        for (size_t i = 0; i < h.size(); ++i)
            keyframer->addHpbKey(h[i].frame, h[i].value - restRotation.x, k[ROTATION_P][i].value - restRotation.y,
                                 -k[ROTATION_B][i].value - restRotation.z, h[i].tension, h[i].continuity, h[i].bias);
        keyframer->setRotationRange(h.front().frame, h.back().frame);
    }
    const std::vector<TCBKey<float>>& s = k[SCALE_X];
    if (!s.empty()) {
        for (size_t i = 0; i < s.size(); ++i)
            keyframer->addScaleKey(s[i].frame, Vector(s[i].value, k[SCALE_Y][i].value, k[SCALE_Z][i].value),
                                   s[i].tension, s[i].continuity, s[i].bias);
        keyframer->setScaleRange(s.front().frame, s.back().frame);
    }
    return keyframer;
}
