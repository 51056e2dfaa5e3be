#include "lwloader/LWLoaderComponent.h"

#include <algorithm>
#include <iterator>

#include "lwloader/LWReader.h"

namespace {
// The four characters of a code as one number, first character highest, so that a code is found
// by comparing numbers rather than strings.
constexpr uint32_t packed(const char* code)
{
    return static_cast<uint32_t>(static_cast<unsigned char>(code[0])) << 24 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[1])) << 16 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[2])) << 8 |
           static_cast<uint32_t>(static_cast<unsigned char>(code[3]));
}

struct Identifier {
    uint32_t code;  // packed
    int number;
};

constexpr Identifier identifiers[] = {
    {packed("FORM"), LWLoaderComponent::ID_FORM}, {packed("LWO2"), LWLoaderComponent::ID_LWO2},
    {packed("PNTS"), LWLoaderComponent::ID_PNTS}, {packed("POLS"), LWLoaderComponent::ID_POLS},
    {packed("FACE"), LWLoaderComponent::ID_FACE}, {packed("BONE"), LWLoaderComponent::ID_BONE},
    {packed("TAGS"), LWLoaderComponent::ID_TAGS}, {packed("LAYR"), LWLoaderComponent::ID_LAYR},
    {packed("PTAG"), LWLoaderComponent::ID_PTAG}, {packed("BNWT"), LWLoaderComponent::ID_BNWT},
    {packed("VMAP"), LWLoaderComponent::ID_VMAP}, {packed("WGHT"), LWLoaderComponent::ID_WGHT},
    {packed("TXUV"), LWLoaderComponent::ID_TXUV}, {packed("CLIP"), LWLoaderComponent::ID_CLIP},
    {packed("STIL"), LWLoaderComponent::ID_STIL}, {packed("SURF"), LWLoaderComponent::ID_SURF},
    {packed("BLOK"), LWLoaderComponent::ID_BLOK}, {packed("IMAP"), LWLoaderComponent::ID_IMAP},
    {packed("TMAP"), LWLoaderComponent::ID_TMAP}, {packed("SIZE"), LWLoaderComponent::ID_SIZE},
    {packed("CHAN"), LWLoaderComponent::ID_CHAN}, {packed("ENAB"), LWLoaderComponent::ID_ENAB},
    {packed("OPAC"), LWLoaderComponent::ID_OPAC}, {packed("AXIS"), LWLoaderComponent::ID_AXIS},
    {packed("CNTR"), LWLoaderComponent::ID_CNTR}, {packed("ROTA"), LWLoaderComponent::ID_ROTA},
    {packed("OREF"), LWLoaderComponent::ID_OREF}, {packed("FALL"), LWLoaderComponent::ID_FALL},
    {packed("CSYS"), LWLoaderComponent::ID_CSYS}, {packed("IMAG"), LWLoaderComponent::ID_IMAG},
    {packed("PROJ"), LWLoaderComponent::ID_PROJ}, {packed("WRAP"), LWLoaderComponent::ID_WRAP},
    {packed("COLR"), LWLoaderComponent::ID_COLR}, {packed("DIFF"), LWLoaderComponent::ID_DIFF},
    {packed("LUMI"), LWLoaderComponent::ID_LUMI}, {packed("SPEC"), LWLoaderComponent::ID_SPEC},
    {packed("GLOS"), LWLoaderComponent::ID_GLOS}, {packed("VMAD"), LWLoaderComponent::ID_VMAD},
};
}

int LWLoaderComponent::identifierNumber(const std::string& text)
{
    // Every known code has four characters.
    if (text.size() != 4)
        return ID_OTHER;
    const uint32_t code = packed(text.c_str());
    auto found = std::find_if(std::begin(identifiers), std::end(identifiers),
                              [code](const Identifier& identifier) { return code == identifier.code; });
    return found == std::end(identifiers) ? ID_OTHER : found->number;
}

int64_t LWLoaderComponent::readChunkId(LWReader& reader, int& number, std::string& text)
{
    number = ID_END;
    if (reader.failed() || reader.remaining() < 4)
        return 0;
    uint8_t code[4];
    reader.readBytes(code, 4);
    // No IFF code holds 0xFF; one that does ends the reading as the end of the input does.
    if (std::find(std::begin(code), std::end(code), 0xFF) != std::end(code))
        return 0;
    const uint8_t* zero = std::find(std::begin(code), std::end(code), 0);
    text.assign(reinterpret_cast<const char*>(code), static_cast<size_t>(zero - code));
    number = identifierNumber(text);
    return 4;
}
