#include "lwloader/LWLoaderComponent.h"

#include <algorithm>
#include <iterator>

#include "lwloader/LWReader.h"

namespace {
struct Identifier {
    const char* text;
    int number;
};

const Identifier identifiers[] = {
    {"FORM", LWLoaderComponent::ID_FORM}, {"LWO2", LWLoaderComponent::ID_LWO2}, {"PNTS", LWLoaderComponent::ID_PNTS},
    {"POLS", LWLoaderComponent::ID_POLS}, {"FACE", LWLoaderComponent::ID_FACE}, {"BONE", LWLoaderComponent::ID_BONE},
    {"TAGS", LWLoaderComponent::ID_TAGS}, {"LAYR", LWLoaderComponent::ID_LAYR}, {"PTAG", LWLoaderComponent::ID_PTAG},
    {"BNWT", LWLoaderComponent::ID_BNWT}, {"VMAP", LWLoaderComponent::ID_VMAP}, {"WGHT", LWLoaderComponent::ID_WGHT},
    {"TXUV", LWLoaderComponent::ID_TXUV}, {"CLIP", LWLoaderComponent::ID_CLIP}, {"STIL", LWLoaderComponent::ID_STIL},
    {"SURF", LWLoaderComponent::ID_SURF}, {"BLOK", LWLoaderComponent::ID_BLOK}, {"IMAP", LWLoaderComponent::ID_IMAP},
    {"TMAP", LWLoaderComponent::ID_TMAP}, {"SIZE", LWLoaderComponent::ID_SIZE}, {"CHAN", LWLoaderComponent::ID_CHAN},
    {"ENAB", LWLoaderComponent::ID_ENAB}, {"OPAC", LWLoaderComponent::ID_OPAC}, {"AXIS", LWLoaderComponent::ID_AXIS},
    {"CNTR", LWLoaderComponent::ID_CNTR}, {"ROTA", LWLoaderComponent::ID_ROTA}, {"OREF", LWLoaderComponent::ID_OREF},
    {"FALL", LWLoaderComponent::ID_FALL}, {"CSYS", LWLoaderComponent::ID_CSYS}, {"IMAG", LWLoaderComponent::ID_IMAG},
    {"PROJ", LWLoaderComponent::ID_PROJ}, {"WRAP", LWLoaderComponent::ID_WRAP}, {"COLR", LWLoaderComponent::ID_COLR},
    {"DIFF", LWLoaderComponent::ID_DIFF}, {"LUMI", LWLoaderComponent::ID_LUMI}, {"SPEC", LWLoaderComponent::ID_SPEC},
    {"GLOS", LWLoaderComponent::ID_GLOS}, {"VMAD", LWLoaderComponent::ID_VMAD},
};
}

int LWLoaderComponent::identifierNumber(const std::string& text)
{
    auto found = std::find_if(std::begin(identifiers), std::end(identifiers),
                              [&text](const Identifier& identifier) { return text == identifier.text; });
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
