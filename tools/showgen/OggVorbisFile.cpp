#include "OggVorbisFile.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <stdexcept>

#include "OutputFile.h"
#include "Sound.h"

namespace {
const int CHANNELS = 2;
const int FRAMES_PER_WRITE = 1024;
const int STREAM_SERIAL = 0x4b4c564f;  // fixed, so that the same sound gives the same file

// The encoder's state for one stream, released in reverse order of setup.
class VorbisEncoder {
public:
    VorbisEncoder(OutputFile& file, float quality) : file(file)
    {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, CHANNELS, Sound::RATE, quality) != 0) {
            vorbis_info_clear(&info);
            throw std::runtime_error("the Vorbis encoder refuses the quality setting");
        }
        vorbis_comment_init(&comment);
        vorbis_analysis_init(&state, &info);
        vorbis_block_init(&state, &block);
        ogg_stream_init(&stream, STREAM_SERIAL);
    }

    ~VorbisEncoder()
    {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&state);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    VorbisEncoder(const VorbisEncoder&) = delete;
    VorbisEncoder& operator=(const VorbisEncoder&) = delete;

    // The three header packets, each on pages of their own as players expect.
    void writeHeaders()
    {
        ogg_packet identification, comments, codebooks;
        vorbis_analysis_headerout(&state, &comment, &identification, &comments, &codebooks);
        ogg_stream_packetin(&stream, &identification);
        ogg_stream_packetin(&stream, &comments);
        ogg_stream_packetin(&stream, &codebooks);
        ogg_page page;
        while (ogg_stream_flush(&stream, &page) != 0)
            writePage(page);
    }

    void encode(const Sound& sound)
    {
        for (size_t start = 0; start < sound.frames(); start += FRAMES_PER_WRITE) {
            const int count = static_cast<int>(std::min<size_t>(FRAMES_PER_WRITE, sound.frames() - start));
            float** buffer = vorbis_analysis_buffer(&state, count);
            for (int channel = 0; channel < CHANNELS; ++channel)
                for (int i = 0; i < count; ++i)
                    buffer[channel][i] = sound.sample(channel, start + i);
            vorbis_analysis_wrote(&state, count);
            writeReadyPages();
        }
        vorbis_analysis_wrote(&state, 0);  // end of stream
        writeReadyPages();
    }

private:
    void writeReadyPages()
    {
        while (vorbis_analysis_blockout(&state, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&state, &packet) != 0) {
                ogg_stream_packetin(&stream, &packet);
                ogg_page page;
                while (ogg_stream_pageout(&stream, &page) != 0)
                    writePage(page);
            }
        }
    }

    void writePage(const ogg_page& page)
    {
        file.write(page.header, static_cast<size_t>(page.header_len));
        file.write(page.body, static_cast<size_t>(page.body_len));
    }

    OutputFile& file;
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state state;
    vorbis_block block;
    ogg_stream_state stream;
};
}

void writeOggVorbis(const std::string& path, const Sound& sound, float quality)
{
    OutputFile file(path);
    {
        VorbisEncoder encoder(file, quality);
        encoder.writeHeaders();
        encoder.encode(sound);
    }
    file.close();
}
