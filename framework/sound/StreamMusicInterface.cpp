// Song records, fades, and the decode-and-resample loop of the music mix.
#include "framework/sound/StreamMusicInterface.h"

#include "framework/archive/PakInterface.h"
#include "platform/Audio.h"

#include <tremor/ivorbisfile.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace Vel {

namespace {

// Fade steps land on 0 or the cap within rounding; without this a fade could take one tick
// more than its speed says.
constexpr double kVolumeTolerance = 1e-9;
// Rates beyond this are not music but a damaged header.
constexpr long kMaxRate = 1'000'000;

enum class SongState { kStopped, kPlaying, kPaused };

} // namespace

struct StreamMusicInterface::Song {
    std::vector<uint8_t> bytes; // the compressed file
    size_t readPos = 0;
    OggVorbis_File file{};
    bool open = false;
    int channels = 2;
    int rate = 44100;

    double volume = 0.0;
    double volumeAdd = 0.0;
    double volumeCap = 1.0;
    bool stopOnFade = false;
    bool looping = true;
    bool ended = false; // ran off its end without looping; the next play starts over
    SongState state = SongState::kStopped;

    // Decoded frames waiting to be mixed.
    std::vector<int16_t> pcm;
    size_t pcmPos = 0; // in samples
    // Linear resampling between frames a and b; phase in [0, 1).
    bool primed = false;
    float a[2] = {0, 0};
    float b[2] = {0, 0};
    double phase = 0.0;
    bool drained = false; // the last frame has been taken
    // Counted instead of decoded while nobody hears the output (non-looping songs only).
    double skippedFrames = 0.0;
    ogg_int64_t totalFrames = -1;

    ~Song()
    {
        if (open)
            ov_clear(&file);
    }

    static size_t Read(void* ptr, size_t size, size_t count, void* source)
    {
        auto* song = static_cast<Song*>(source);
        if (size == 0)
            return 0;
        const size_t left = song->bytes.size() - song->readPos;
        const size_t n = std::min(left / size, count);
        std::memcpy(ptr, song->bytes.data() + song->readPos, n * size);
        song->readPos += n * size;
        return n;
    }
    static int Seek(void* source, ogg_int64_t offset, int whence)
    {
        auto* song = static_cast<Song*>(source);
        ogg_int64_t base = 0;
        if (whence == SEEK_CUR)
            base = ogg_int64_t(song->readPos);
        else if (whence == SEEK_END)
            base = ogg_int64_t(song->bytes.size());
        else if (whence != SEEK_SET)
            return -1;
        const ogg_int64_t target = base + offset;
        if (target < 0 || target > ogg_int64_t(song->bytes.size()))
            return -1;
        song->readPos = size_t(target);
        return 0;
    }
    static int Close(void*) { return 0; }
    static long Tell(void* source) { return long(static_cast<Song*>(source)->readPos); }

    void Reposition(ogg_int64_t frame)
    {
        if (open && ov_pcm_seek(&file, frame) != 0)
            ov_raw_seek(&file, 0);
        pcm.clear();
        pcmPos = 0;
        primed = false;
        drained = false;
        ended = false;
        phase = 0.0;
        skippedFrames = 0.0;
    }

    // The next decoded frame; false at the end of a song that does not loop.
    bool NextFrame(float* frame)
    {
        int restarts = 0;
        while (pcmPos + size_t(channels) > pcm.size()) {
            pcm.resize(2048);
            pcmPos = 0;
            int section = 0;
            const long got = open ? ov_read(&file, reinterpret_cast<char*>(pcm.data()), int(pcm.size() * 2), &section) : 0;
            if (got == OV_HOLE) {
                pcm.clear();
                continue;
            }
            if (got <= 0) {
                pcm.clear();
                // A loop goes straight on with the first frame, in the same buffer: no gap,
                // no click. A song that yields nothing even from its start is over.
                if (!looping || got < 0 || ++restarts > 1 || ov_pcm_seek(&file, 0) != 0)
                    return false;
                continue;
            }
            restarts = 0;
            pcm.resize(size_t(got) / 2);
            vorbis_info* info = ov_info(&file, -1);
            if (!info || info->channels != channels) {
                pcm.clear();
                return false; // a chained file that changes layout is not played on
            }
        }
        frame[0] = pcm[pcmPos];
        frame[1] = channels == 2 ? pcm[pcmPos + 1] : frame[0];
        pcmPos += size_t(channels);
        return true;
    }

    void Mix(float* mix, int frames, float gain)
    {
        if (!primed) {
            if (!NextFrame(a)) {
                Finish();
                return;
            }
            drained = !NextFrame(b);
            if (drained)
                std::copy(a, a + 2, b);
            primed = true;
        }
        const double step = double(rate) / double(Plat::kAudioRate);
        for (int i = 0; i < frames; ++i) {
            const float f = float(phase);
            mix[2 * i] += (a[0] + (b[0] - a[0]) * f) * gain;
            mix[2 * i + 1] += (a[1] + (b[1] - a[1]) * f) * gain;
            phase += step;
            while (phase >= 1.0) {
                phase -= 1.0;
                if (drained) {
                    Finish();
                    return;
                }
                std::copy(b, b + 2, a);
                drained = !NextFrame(b);
                if (drained)
                    std::copy(a, a + 2, b);
            }
        }
    }

    // Moves on by `frames` output frames without decoding: a looping song simply plays on, one
    // that does not loop ends when its last frame would have been played.
    void Skip(int frames)
    {
        if (!open) {
            Finish();
            return;
        }
        if (looping)
            return;
        if (totalFrames < 0)
            totalFrames = ov_pcm_total(&file, -1);
        skippedFrames += double(frames) * double(rate) / double(Plat::kAudioRate);
        if (totalFrames <= 0 || double(ov_pcm_tell(&file)) + skippedFrames >= double(totalFrames))
            Finish();
    }

    void Finish()
    {
        state = SongState::kStopped;
        ended = true;
    }
};

StreamMusicInterface::StreamMusicInterface(AudioMixer* mixer)
    : m_mixer(mixer)
{
    if (m_mixer)
        m_mixer->AddSource(this);
}

StreamMusicInterface::~StreamMusicInterface()
{
    if (m_mixer)
        m_mixer->RemoveSource(this);
}

StreamMusicInterface::Song* StreamMusicInterface::Find(int songId)
{
    auto it = m_songs.find(songId);
    return it == m_songs.end() ? nullptr : it->second.get();
}

bool StreamMusicInterface::LoadMusic(int songId, const std::string& fileName)
{
    auto song = std::make_unique<Song>();
    if (!PakReadWholeFile(fileName, song->bytes))
        return false;
    ov_callbacks callbacks{&Song::Read, &Song::Seek, &Song::Close, &Song::Tell};
    if (ov_open_callbacks(song.get(), &song->file, nullptr, 0, callbacks) != 0)
        return false;
    song->open = true;
    vorbis_info* info = ov_info(&song->file, -1);
    if (!info || info->channels < 1 || info->channels > 2 || info->rate <= 0 || info->rate > kMaxRate)
        return false;
    song->channels = info->channels;
    song->rate = int(info->rate);

    std::unique_ptr<Song> old;
    {
        std::lock_guard lock(m_mutex);
        auto& entry = m_songs[songId];
        old = std::move(entry); // freed outside the lock
        entry = std::move(song);
    }
    return true;
}

void StreamMusicInterface::StartLocked(Song& song, int offset, bool noLoop)
{
    song.looping = !noLoop;
    if (offset >= 0) {
        // An offset is a byte position in the decoded 16-bit output.
        song.Reposition(ogg_int64_t(offset) / (2 * song.channels));
    } else if (song.ended) {
        song.Reposition(0);
    }
    song.state = SongState::kPlaying;
}

void StreamMusicInterface::PlayMusic(int songId, int offset, bool noLoop)
{
    std::lock_guard lock(m_mutex);
    Song* song = Find(songId);
    if (!song)
        return;
    song->volume = song->volumeCap;
    song->volumeAdd = 0.0;
    song->stopOnFade = noLoop;
    song->state = SongState::kStopped;
    StartLocked(*song, offset, noLoop);
}

void StreamMusicInterface::FadeIn(int songId, int offset, double speed, bool noLoop)
{
    std::lock_guard lock(m_mutex);
    Song* song = Find(songId);
    if (!song)
        return;
    song->volumeAdd = speed;
    song->stopOnFade = noLoop;
    if (song->state == SongState::kStopped)
        song->volume = 0.0;
    song->state = SongState::kStopped;
    StartLocked(*song, offset, noLoop);
}

void StreamMusicInterface::StopMusic(int songId)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId)) {
        song->volume = 0.0;
        song->state = SongState::kStopped;
    }
}

void StreamMusicInterface::StopAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        song->volume = 0.0;
        song->state = SongState::kStopped;
    }
}

void StreamMusicInterface::PauseMusic(int songId)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId); song && song->state == SongState::kPlaying)
        song->state = SongState::kPaused;
}

void StreamMusicInterface::ResumeMusic(int songId)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId); song && song->state == SongState::kPaused)
        song->state = SongState::kPlaying;
}

void StreamMusicInterface::PauseAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (song->state == SongState::kPlaying)
            song->state = SongState::kPaused;
    }
}

void StreamMusicInterface::ResumeAllMusic()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (song->state == SongState::kPaused)
            song->state = SongState::kPlaying;
    }
}

void StreamMusicInterface::UnloadMusic(int songId)
{
    std::unique_ptr<Song> old;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_songs.find(songId);
        if (it == m_songs.end())
            return;
        old = std::move(it->second);
        m_songs.erase(it);
    }
}

void StreamMusicInterface::UnloadAllMusic()
{
    std::map<int, std::unique_ptr<Song>> old;
    {
        std::lock_guard lock(m_mutex);
        old.swap(m_songs);
    }
}

void StreamMusicInterface::FadeOut(int songId, bool stop, double speed)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId); song && song->volume != 0.0) {
        song->volumeAdd = -speed;
        song->stopOnFade = stop;
    }
}

void StreamMusicInterface::FadeOutAll(bool stop, double speed)
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        song->volumeAdd = -speed;
        song->stopOnFade = stop;
    }
}

void StreamMusicInterface::SetSongVolume(int songId, double volume)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId))
        song->volume = volume;
}

void StreamMusicInterface::SetSongMaxVolume(int songId, double volume)
{
    std::lock_guard lock(m_mutex);
    if (Song* song = Find(songId)) {
        song->volumeCap = volume;
        song->volume = std::min(song->volume, volume);
    }
}

bool StreamMusicInterface::IsPlaying(int songId)
{
    std::lock_guard lock(m_mutex);
    Song* song = Find(songId);
    return song && song->state == SongState::kPlaying;
}

bool StreamMusicInterface::IsPaused(int songId)
{
    std::lock_guard lock(m_mutex);
    Song* song = Find(songId);
    return song && song->state == SongState::kPaused;
}

double StreamMusicInterface::GetSongVolume(int songId)
{
    std::lock_guard lock(m_mutex);
    Song* song = Find(songId);
    return song ? song->volume : -1.0;
}

void StreamMusicInterface::SetVolume(double volume)
{
    std::lock_guard lock(m_mutex);
    m_volume = volume;
}

void StreamMusicInterface::SetMusicAmplify(int songId, double amp)
{
    (void)songId;
    (void)amp;
}

bool StreamMusicInterface::IsFading()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs)
        if (song->state == SongState::kPlaying && song->volumeAdd != 0.0)
            return true;
    return false;
}

void StreamMusicInterface::Update()
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs) {
        if (song->volumeAdd == 0.0)
            continue;
        song->volume += song->volumeAdd;
        if (song->volume >= song->volumeCap - kVolumeTolerance) {
            song->volume = song->volumeCap;
            song->volumeAdd = 0.0;
        } else if (song->volume <= kVolumeTolerance) {
            song->volume = 0.0;
            song->volumeAdd = 0.0;
            if (song->stopOnFade)
                song->state = SongState::kStopped;
        }
    }
}

void StreamMusicInterface::MixInto(float* mix, int frames)
{
    std::lock_guard lock(m_mutex);
    const double global = std::clamp(m_volume, 0.0, 1.0);
    for (auto& [id, song] : m_songs) {
        if (song->state != SongState::kPlaying)
            continue;
        // A muted song keeps moving, as it would on any player.
        const float gain = float(std::clamp(song->volume, 0.0, 1.0) * global);
        song->Mix(mix, frames, gain);
    }
}

void StreamMusicInterface::Skip(float*, int frames)
{
    std::lock_guard lock(m_mutex);
    for (auto& [id, song] : m_songs)
        if (song->state == SongState::kPlaying)
            song->Skip(frames);
}

} // namespace Vel
