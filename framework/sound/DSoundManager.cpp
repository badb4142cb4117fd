// Slots, channels, loading with the sound cache, and the effects half of the mix.
#include "framework/sound/DSoundManager.h"

#include "framework/archive/PakInterface.h"
#include "framework/sound/SoundFile.h"
#include "platform/Files.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <iterator>

namespace Vel {

namespace {

constexpr uint64_t kReclaimIntervalMs = 1000;
// Seconds from 1601-01-01 (FILETIME's start) to 1970-01-01.
constexpr uint64_t kFileTimeEpochOffsetS = 11'644'473'600ull;

std::string ToPlainPath(std::string name)
{
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

bool DefaultFileTime(const std::string& name, uint64_t& fileTime)
{
    if (const ArchiveEntry* entry = PakInterface::Instance().FindEntry(name)) {
        fileTime = entry->m_fileTime;
        return true;
    }
    struct stat info {};
    if (::stat(ToPlainPath(name).c_str(), &info) != 0)
        return false;
    fileTime = (uint64_t(info.st_mtim.tv_sec) + kFileTimeEpochOffsetS) * 10'000'000ull
             + uint64_t(info.st_mtim.tv_nsec) / 100;
    return true;
}

uint64_t SteadyMs()
{
    using namespace std::chrono;
    return uint64_t(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool ReadPlainFile(const std::string& path, std::vector<uint8_t>& out)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), {});
    return !in.bad();
}

} // namespace

DSoundManager::DSoundManager(AudioMixer* mixer, std::string cacheFolder)
    : m_mixer(mixer)
    , m_cacheFolder(std::move(cacheFolder))
    , m_clock(SteadyMs)
    , m_fileTime(DefaultFileTime)
{
    if (!m_cacheFolder.empty() && m_cacheFolder.back() != '/')
        m_cacheFolder += '/';
    if (m_mixer)
        m_mixer->AddSource(this);
}

DSoundManager::~DSoundManager()
{
    // First leave the mix, so the device thread never sees a half-destroyed manager.
    if (m_mixer)
        m_mixer->RemoveSource(this);
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels)
        channel.reset();
}

bool DSoundManager::IsInitialized() { return m_mixer && m_mixer->IsOpen(); }

std::string DSoundManager::CachePath(const std::string& fileName) const
{
    if (m_cacheFolder.empty())
        return {};
    // Only relative names are cached, as before.
    if (fileName.size() <= 2 || fileName[0] == '\\' || fileName[0] == '/' || fileName[1] == ':')
        return {};
    const std::string plain = ToPlainPath(fileName);
    // A ".." component would place the file outside the cache folder.
    size_t start = 0;
    while (start <= plain.size()) {
        size_t end = plain.find('/', start);
        if (end == std::string::npos)
            end = plain.size();
        if (plain.compare(start, end - start, "..") == 0)
            return {};
        start = end + 1;
    }
    return m_cacheFolder + plain + ".wav";
}

std::shared_ptr<const SampleData> DSoundManager::Decode(const std::string& fileName)
{
    std::vector<uint8_t> bytes;
    const std::string cachePath = CachePath(fileName);
    if (!cachePath.empty() && ReadPlainFile(cachePath, bytes)) {
        if (auto wave = ReadWaveFile(bytes)) {
            uint64_t now = 0;
            if (!wave->hasSource || (m_fileTime(wave->sourceName, now) && now == wave->sourceTime))
                return std::make_shared<const SampleData>(std::move(wave->data));
        }
    }

    if (PakReadWholeFile(fileName + ".wav", bytes)) {
        if (auto wave = ReadWaveFile(bytes))
            return std::make_shared<const SampleData>(std::move(wave->data));
    }

    const std::string oggName = fileName + ".ogg";
    if (auto data = DecodeOggFile(oggName)) {
        WriteCache(fileName, oggName, *data);
        return std::make_shared<const SampleData>(std::move(*data));
    }

    const std::string auName = fileName + ".au";
    if (PakReadWholeFile(auName, bytes)) {
        if (auto data = ReadAuFile(bytes)) {
            WriteCache(fileName, auName, *data);
            return std::make_shared<const SampleData>(std::move(*data));
        }
    }
    return nullptr;
}

void DSoundManager::WriteCache(const std::string& fileName, const std::string& sourceName, const SampleData& data)
{
    const std::string path = CachePath(fileName);
    uint64_t sourceTime = 0;
    // Without the source's time the copy could never be trusted again, so none is written.
    if (path.empty() || !m_fileTime(sourceName, sourceTime))
        return;
    const size_t slash = path.rfind('/');
    if (slash != std::string::npos && !Plat::MakeDirs(path.substr(0, slash)))
        return;
    const std::vector<uint8_t> bytes = MakeCacheFile(data, sourceName, sourceTime);
    // A failed write only costs decoding again next time.
    (void)Plat::WriteFileAtomically(path, bytes.data(), bytes.size());
}

bool DSoundManager::LoadSound(int id, const std::string& fileName)
{
    if (!ValidId(id))
        return false;
    {
        std::lock_guard lock(m_mutex);
        m_slots[id].data.reset();
        m_slots[id].fileName.clear();
    }
    // Decoding reads files: the mixer must never wait for it.
    std::shared_ptr<const SampleData> data = Decode(fileName);
    if (!data)
        return false;
    std::lock_guard lock(m_mutex);
    m_slots[id].data = std::move(data);
    m_slots[id].fileName = fileName;
    return true;
}

int DSoundManager::LoadSound(const std::string& fileName)
{
    int id = -1;
    {
        std::lock_guard lock(m_mutex);
        for (int i = 0; i < kMaxSounds; ++i) {
            if (m_slots[i].data && m_slots[i].fileName == fileName)
                return i;
        }
        for (int i = kMaxSounds - 1; i >= 0; --i) {
            if (!m_slots[i].data) {
                id = i;
                break;
            }
        }
    }
    if (id < 0)
        return -1;
    return LoadSound(id, fileName) ? id : -1;
}

void DSoundManager::ReleaseSound(int id)
{
    if (!ValidId(id))
        return;
    std::lock_guard lock(m_mutex);
    // Instances still playing keep their own reference to the samples.
    m_slots[id].data.reset();
    m_slots[id].fileName.clear();
}

void DSoundManager::SetVolume(double volume)
{
    std::lock_guard lock(m_mutex);
    m_level = volume;
    for (auto& channel : m_channels) {
        if (channel)
            channel->ApplyVolumeLocked();
    }
}

double DSoundManager::GetLevel()
{
    std::lock_guard lock(m_mutex);
    return m_level;
}

bool DSoundManager::SetBaseVolume(int id, double volume)
{
    if (!ValidId(id))
        return false;
    std::lock_guard lock(m_mutex);
    m_slots[id].baseVolume = volume;
    return true;
}

bool DSoundManager::SetBasePan(int id, int pan)
{
    if (!ValidId(id))
        return false;
    std::lock_guard lock(m_mutex);
    m_slots[id].basePan = pan;
    return true;
}

void DSoundManager::ReclaimChannelsLocked()
{
    const uint64_t now = m_clock();
    if (m_reclaimedOnce && now - m_lastReclaimMs < kReclaimIntervalMs)
        return;
    m_reclaimedOnce = true;
    m_lastReclaimMs = now;
    for (auto& channel : m_channels) {
        if (channel && channel->IsReleasedLocked())
            channel.reset();
    }
}

SoundInstance* DSoundManager::CreateInstance(int id)
{
    if (!ValidId(id))
        return nullptr;
    std::lock_guard lock(m_mutex);
    const Slot& slot = m_slots[id];
    if (!slot.data)
        return nullptr;
    ReclaimChannelsLocked();
    for (auto& channel : m_channels) {
        if (channel && !channel->IsReleasedLocked())
            continue;
        channel = std::make_unique<DSoundInstance>(this, slot.data);
        channel->m_basePan = slot.basePan;
        channel->m_baseVolume = slot.baseVolume;
        channel->ApplyVolumeLocked();
        return channel.get();
    }
    return nullptr;
}

void DSoundManager::ReleaseSounds()
{
    std::lock_guard lock(m_mutex);
    for (Slot& slot : m_slots) {
        slot.data.reset();
        slot.fileName.clear();
    }
}

void DSoundManager::ReleaseChannels()
{
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels)
        channel.reset();
}

// The system-wide output volume is left to the desktop; the value is only kept.
double DSoundManager::GetMasterVolume()
{
    std::lock_guard lock(m_mutex);
    return m_masterVolume;
}

void DSoundManager::SetMasterVolume(double volume)
{
    std::lock_guard lock(m_mutex);
    m_masterVolume = std::clamp(volume, 0.0, 1.0);
}

void DSoundManager::Flush() {}

// The audio device does not belong to a window, so a new main window needs nothing.
void DSoundManager::SetCooperativeWindow(Plat::Window* window, bool windowed)
{
    (void)window;
    (void)windowed;
}

void DSoundManager::StopAllSounds()
{
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel)
            channel->StopLocked(true);
    }
}

int DSoundManager::GetFreeSoundId()
{
    std::lock_guard lock(m_mutex);
    for (int i = 0; i < kMaxSounds; ++i) {
        if (!m_slots[i].data)
            return i;
    }
    return -1;
}

int DSoundManager::GetNumSounds() { return kMaxSounds; }

void DSoundManager::MixInto(float* mix, int frames)
{
    std::lock_guard lock(m_mutex);
    for (auto& channel : m_channels) {
        if (channel)
            channel->MixLocked(mix, frames);
    }
}

void DSoundManager::SetClock(MsClock clock)
{
    std::lock_guard lock(m_mutex);
    m_clock = clock ? std::move(clock) : MsClock(SteadyMs);
}

void DSoundManager::SetFileTimeSource(FileTimeSource source)
{
    m_fileTime = source ? std::move(source) : FileTimeSource(DefaultFileTime);
}

std::shared_ptr<const SampleData> DSoundManager::GetSampleData(int id)
{
    if (!ValidId(id))
        return nullptr;
    std::lock_guard lock(m_mutex);
    return m_slots[id].data;
}

int DSoundManager::CountUsedChannels()
{
    std::lock_guard lock(m_mutex);
    return int(std::count_if(std::begin(m_channels), std::end(m_channels), [](const auto& c) { return c != nullptr; }));
}

} // namespace Vel
