#include "Keyframer.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

namespace {
const float DEFAULT_FRAMES_PER_SECOND = 24.0f;
const double PI = 3.14159265358979323846;
}

Keyframer::Keyframer(Environment* owner)
    : name("Anonymous object"), parent(nullptr), height(0), id(-1), positionTrack(DEFAULT_FRAMES_PER_SECOND),
      rotationTrack(DEFAULT_FRAMES_PER_SECOND), hpbTrack(DEFAULT_FRAMES_PER_SECOND),
      scaleTrack(DEFAULT_FRAMES_PER_SECOND), rollTrack(DEFAULT_FRAMES_PER_SECOND),
      framesPerSecond(DEFAULT_FRAMES_PER_SECOND), owner(owner)
{
    scaleTrack.setDefaultValue(Vector(1.0f, 1.0f, 1.0f));
}

void Keyframer::setName(const std::string& newName)
{
    name = newName;
}

std::string Keyframer::getName() const
{
    return name;
}

void Keyframer::setTargetName(const std::string& newName)
{
    targetName = newName;
}

void Keyframer::setId(int newId)
{
    id = newId;
}

int Keyframer::getId() const
{
    return id;
}

std::string Keyframer::parentRefusal(const Keyframer* candidate) const
{
    // The chain through candidate holds its ancestors, candidate, this keyframer and the levels
    // below this one; the walk stops once that is known to be too many, so it is never longer
    // than the limit, and it ends on a cycle too, which only a refused parent could make.
    int chain = height + 1;
    for (const Keyframer* k = candidate; k; k = k->parent) {
        if (k == this)
            return "the keyframer would become its own ancestor";
        if (++chain > MAX_CHAIN_LENGTH)
            return "the chain of parents would hold more than " + std::to_string(MAX_CHAIN_LENGTH) + " keyframers";
    }
    return "";
}

void Keyframer::setParent(Keyframer* newParent)
{
    const std::string refusal = parentRefusal(newParent);
    if (!refusal.empty()) {
        KELVO_LOG(LogLevel::warning) << "setParent(\"" << name << "\") - Refusing parent \""
                     << newParent->name << "\": " << refusal << "." << logEnd;
        return;
    }
    parent = newParent;
    // The levels below each ancestor, which bound the chains later parents may make.
    int below = height + 1;
    for (Keyframer* k = parent; k && k->height < below; k = k->parent, ++below)
        k->height = below;
}

Keyframer* Keyframer::getParent() const
{
    return parent;
}

namespace {
std::size_t keyCount(int count)
{
    return static_cast<std::size_t>(std::max(count, 0));
}
}

void Keyframer::reservePositionKeys(int count)
{
    positionTrack.reserveKeys(keyCount(count));
}

void Keyframer::reserveRotationKeys(int count)
{
    rotationTrack.reserveKeys(keyCount(count));
}

void Keyframer::reserveScaleKeys(int count)
{
    scaleTrack.reserveKeys(keyCount(count));
}

void Keyframer::reserveRollKeys(int count)
{
    rollTrack.reserveKeys(keyCount(count));
}

void Keyframer::addPositionKey(float frame, const Vector& position, float tension, float continuity, float bias)
{
    positionTrack.addKey(frame, position, tension, continuity, bias);
}

void Keyframer::addScaleKey(float frame, const Vector& scale, float tension, float continuity, float bias)
{
    scaleTrack.addKey(frame, scale, tension, continuity, bias);
}

void Keyframer::addRotationKey(float frame, const Quaternion& delta, float tension, float continuity, float bias)
{
    accumulatedRotation *= delta;
    rotationTrack.addKey(frame, accumulatedRotation, tension, continuity, bias);
}

void Keyframer::setRotationKey(float frame, const Quaternion& rotation, float tension, float continuity, float bias)
{
    accumulatedRotation = rotation;
    rotationTrack.addKey(frame, accumulatedRotation, tension, continuity, bias);
}

void Keyframer::addHpbKey(float frame, float h, float p, float b, float tension, float continuity, float bias)
{
    hpbTrack.addKey(frame, h, p, b, tension, continuity, bias);
}

void Keyframer::addRollKey(float frame, float roll, float tension, float continuity, float bias)
{
    rollTrack.addKey(frame, roll, tension, continuity, bias);
}

void Keyframer::setPositionRange(float start, float end)
{
    positionTrack.setRange(start, end);
}

void Keyframer::setRotationRange(float start, float end)
{
    rotationTrack.setRange(start, end);
    hpbTrack.setRange(start, end);
}

void Keyframer::setScaleRange(float start, float end)
{
    scaleTrack.setRange(start, end);
}

void Keyframer::setRollRange(float start, float end)
{
    rollTrack.setRange(start, end);
}

void Keyframer::setFrameRate(float fps)
{
    framesPerSecond = fps;
    positionTrack.setFrameRate(fps);
    rotationTrack.setFrameRate(fps);
    hpbTrack.setFrameRate(fps);
    scaleTrack.setFrameRate(fps);
    rollTrack.setFrameRate(fps);
}

void Keyframer::setFromMatrix(const Matrix& m)
{
    positionTrack.setDefaultValue(Vector(m.get(12), m.get(13), m.get(14)));
    scaleTrack.setDefaultValue(Vector(m.get(0), m.get(5), m.get(10)));
    rollTrack.setDefaultValue(0.0f);
}

Vector Keyframer::getPosition(float time) const
{
    return positionTrack.interpolateValue(time);
}

Quaternion Keyframer::getRotation(float time) const
{
    return rotationTrack.interpolateValue(time);
}

Vector Keyframer::getHpb(float time) const
{
    return hpbTrack.interpolateValue(time);
}

Vector Keyframer::getScale(float time) const
{
    return scaleTrack.interpolateValue(time);
}

float Keyframer::getRoll(float time) const
{
    return rollTrack.interpolateValue(time);
}

Matrix Keyframer::getTranslationMatrix(float time) const
{
    Matrix m;
    m.setTranslation(getPosition(time));
    return m;
}

Matrix Keyframer::getScaleMatrix(float time) const
{
    Matrix m;
    m.setScale(getScale(time));
    return m;
}

Matrix Keyframer::getLocalRotationMatrix(float time) const
{
    if (rotationTrack.getKeyCount() > 0) {
        const Quaternion q = getRotation(time);
        // Called every frame: the Euler angles are only worked out for the debug line.
        if (Log::getInstance()->getLevel() >= LogLevel::frame) {
            const Vector e = q.toEuler();
            KELVO_LOG(LogLevel::frame) << "getLocalRotationMatrix(\"" << name
                                << "\") - x angle = " << e.x * 180.0 / PI
                                << ", y angle = " << e.y * 180.0 / PI
                                << ", z angle = " << e.z * 180.0 / PI << logEnd;
        }
        return Matrix(q);
    }
    Matrix m;
    m.setHpbRotation(getHpb(time));
    return m;
}

Matrix Keyframer::getLinkMatrix(float time) const
{
    Matrix r = getLocalRotationMatrix(time);
    const Matrix t = getTranslationMatrix(time);
    const Matrix s = getScaleMatrix(time);
    // In OpenGL order: scale · (rotation with the position), so the own position is scaled by the
    // own scale.
    r.setTranslation(Vector(r.get(12) + t.get(12), r.get(13) + t.get(13), r.get(14) + t.get(14)));
    r *= s;
    return r;
}

Matrix Keyframer::getRootMatrix(float time) const
{
    Matrix r = getLocalRotationMatrix(time);
    const Matrix t = getTranslationMatrix(time);
    const Matrix s = getScaleMatrix(time);
    // In OpenGL order: (scale with the position) · rotation; the position is not scaled.
    Matrix scaledTranslation(t);
    scaledTranslation.setScale(Vector(s.get(0), s.get(5), s.get(10)));
    r *= scaledTranslation;
    return r;
}

Matrix Keyframer::getMatrix(float time) const
{
    // Each keyframer's own matrix times its parent's whole matrix, worked out from the root down
    // (the products in the same order as a walk that recursed up the chain). The chain is at most
    // MAX_CHAIN_LENGTH keyframers long, as setParent keeps it, and held on the stack: this runs
    // every frame.
    std::array<const Keyframer*, MAX_CHAIN_LENGTH> chain;
    std::size_t length = 0;
    const Keyframer* k = this;
    for (; k->parent && length < chain.size(); k = k->parent)
        chain[length++] = k;
    Matrix m = k->parent ? k->getLinkMatrix(time) : k->getRootMatrix(time);
    while (length > 0) {
        Matrix own = chain[--length]->getLinkMatrix(time);
        own *= m;
        m = own;
    }
    return m;
}

void Keyframer::writeToLog() const
{
    if (targetName.empty())
        KELVO_LOG(LogLevel::info) << "writeToLog(\"" << name << "\")" << logEnd;
    else
        KELVO_LOG(LogLevel::info) << "writeToLog(\"" << name << "." << targetName << "\")"
                     << logEnd;
    KELVO_LOG(LogLevel::info) << "  * pivot: x=" << static_cast<double>(pivot.x)
                 << ", y=" << static_cast<double>(pivot.y) << ", z=" << static_cast<double>(pivot.z) << logEnd;
    KELVO_LOG(LogLevel::info) << "writeToLog(\"" << name << "\") - "
                 << "Dumping position interpolator: \n" << positionTrack.toString() << logEnd;
}
