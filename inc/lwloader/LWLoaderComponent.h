#ifndef KELVO_LWLOADERCOMPONENT_H
#define KELVO_LWLOADERCOMPONENT_H

#include <cstdint>
#include <string>

class LWReader;

// Base of the LWO2 loader and its chunk classes: the identifier numbers of the four-character
// codes and the reading of one code. No data and no virtual operations; the typed values are read
// by the load's LWReader.
//
// One numbering serves top-level chunks, sub-chunks and the type codes inside bodies, so a code
// that belongs to several parents (VMAP, AXIS, SURF, BONE) has one number, listed under its first.
class LWLoaderComponent {
public:
    static constexpr int ID_END = 0;    // end of input, or a code holding the byte 0xFF
    static constexpr int ID_OTHER = 1;  // any code not listed here

    // The IFF form
    static constexpr int ID_FORM = 2;
    static constexpr int ID_LWO2 = 3;

    // Chunks of the LWO2 form
    static constexpr int ID_PNTS = 4;
    static constexpr int ID_POLS = 5;
    static constexpr int ID_TAGS = 8;
    static constexpr int ID_LAYR = 9;
    static constexpr int ID_PTAG = 10;
    static constexpr int ID_VMAP = 12;  // also a sub-chunk of BLOK
    static constexpr int ID_CLIP = 15;
    static constexpr int ID_SURF = 17;  // also a tag type of PTAG
    static constexpr int ID_VMAD = 42;

    // Polygon types of POLS
    static constexpr int ID_FACE = 6;
    static constexpr int ID_BONE = 7;  // also a tag type of PTAG

    // Tag types of PTAG (besides BONE and SURF)
    static constexpr int ID_BNWT = 11;

    // Map types of VMAP and VMAD
    static constexpr int ID_WGHT = 13;
    static constexpr int ID_TXUV = 14;

    // Sub-chunks of CLIP
    static constexpr int ID_STIL = 16;

    // Sub-chunks of SURF
    static constexpr int ID_BLOK = 18;
    static constexpr int ID_COLR = 34;  // also a channel code of a block header
    static constexpr int ID_DIFF = 35;
    static constexpr int ID_LUMI = 36;
    static constexpr int ID_SPEC = 37;
    static constexpr int ID_GLOS = 41;

    // Sub-chunks of BLOK (besides VMAP and AXIS)
    static constexpr int ID_IMAP = 19;  // the header of an image-map block
    static constexpr int ID_TMAP = 20;
    static constexpr int ID_IMAG = 31;
    static constexpr int ID_PROJ = 32;
    static constexpr int ID_WRAP = 33;

    // Sub-chunks of a block header
    static constexpr int ID_CHAN = 22;
    static constexpr int ID_ENAB = 23;
    static constexpr int ID_OPAC = 24;
    static constexpr int ID_AXIS = 25;  // also a sub-chunk of BLOK

    // Sub-chunks of TMAP
    static constexpr int ID_SIZE = 21;
    static constexpr int ID_CNTR = 26;
    static constexpr int ID_ROTA = 27;
    static constexpr int ID_OREF = 28;
    static constexpr int ID_FALL = 29;
    static constexpr int ID_CSYS = 30;

    // What readData and the framed reads return when a body cannot be read.
    static constexpr int64_t READ_FAILED = -2;

    // Reads one four-character code: 4, with text (the characters up to the first zero byte) and
    // number set; 0 with number ID_END when fewer than four bytes remain (nothing is consumed and
    // the reader is not failed) or when one of the four is 0xFF (the four are consumed).
    static int64_t readChunkId(LWReader& reader, int& number, std::string& text);

    // The number of a code's text by exact comparison; ID_OTHER when it is not listed.
    static int identifierNumber(const std::string& text);
};

#endif
