#include "KeyframerController.h"

#include "Keyframer.h"
#include "Log.h"

static LogSourceRegistration logSourceRegistration(LOG_SOURCE);

KeyframerController::KeyframerController(Environment* owner) : keyframerCount(0), framesPerSecond(24), owner(owner) {}

KeyframerController::~KeyframerController()
{
    for (Keyframer* keyframer : keyframers)
        delete keyframer;
}

Keyframer* KeyframerController::createKeyframer()
{
    Keyframer* keyframer = new Keyframer(owner);
    keyframers.push_back(keyframer);
    ++keyframerCount;
    keyframer->setFrameRate(static_cast<float>(framesPerSecond));
    return keyframer;
}

void KeyframerController::setFrameRate(int fps)
{
    for (Keyframer* keyframer : keyframers)
        keyframer->setFrameRate(static_cast<float>(fps));
    framesPerSecond = fps;
}

Keyframer* KeyframerController::findKeyframer(int id) const
{
    for (Keyframer* keyframer : keyframers)
        if (keyframer->getId() == id)
            return keyframer;
    reportMissingKeyframer(id);
    return nullptr;
}

std::unordered_map<int, Keyframer*> KeyframerController::firstKeyframersById() const
{
    std::unordered_map<int, Keyframer*> first;
    for (Keyframer* keyframer : keyframers)
        first.emplace(keyframer->getId(), keyframer);  // keeps an earlier one of the same id
    return first;
}

void KeyframerController::reportMissingKeyframer(int id) const
{
    // The line ends with a blank before its break; logEnd writes the break (and flushes).
    KELVO_LOG(LogLevel::warning) << "findKeyframer() - Didn't find keyframer (id " << id << ") "
                 << logEnd;
}

void KeyframerController::initialize()
{
    if (!keyframers.empty())
        KELVO_LOG(LogLevel::info) << "initialize() - Initializing keyframers." << logEnd;
    else
        KELVO_LOG(LogLevel::warning) << "initialize() - No keyframers available." << logEnd;
}

void KeyframerController::toString() const
{
    KELVO_LOG(LogLevel::info) << "toString() - Listing " << keyframerCount << " keyframers:"
                 << logEnd;
    for (const Keyframer* keyframer : keyframers)
        keyframer->writeToLog();
}

int KeyframerController::getKeyframerCount() const
{
    return keyframerCount;
}
