#include "Sound/MCI_Music.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <sndfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <vector>

#include "Sound/Linux/Sound_OutputM.h"
#include "Sound/MCI_Main.h"

namespace {
ALCdevice* g_MusicDevice = nullptr;
ALCcontext* g_MusicContext = nullptr;

// The music context is made when the first music file is opened: most games
// open none, and a context costs the memory of a voice for every source the
// device allows. The sound context gave the device its attributes already, so
// this one asks for none, which leaves the running device as it is.
bool MakeMusicContext() {
  if (!g_MusicContext && g_MusicDevice) g_MusicContext = alcCreateContext(g_MusicDevice, nullptr);
  return g_MusicContext != nullptr;
}

// Makes the music context current for a block of OpenAL calls and gives the
// sound contexts theirs back afterwards.
class CMusicScope {
 public:
  CMusicScope() : m_Previous(alcGetCurrentContext()) {
    if (m_Previous != g_MusicContext) alcMakeContextCurrent(g_MusicContext);
  }
  ~CMusicScope() {
    if (m_Previous != g_MusicContext) alcMakeContextCurrent(m_Previous);
  }

 private:
  ALCcontext* m_Previous;
};

struct Decoded {
  std::vector<int16_t> samples;  // interleaved
  int rate = 0, channels = 0;    // one or two channels: more are mixed down to two
  int64_t total = 0;             // frames in the whole file
};

// Where the channels of a file lie: its own map when it has one, else the
// usual order of its kind (Ogg files keep the centre second and the
// low-frequency channel last; WAV, FLAC and the others follow the WAV masks).
std::vector<int> ChannelMap(SNDFILE* f, const SF_INFO& info) {
  std::vector<int> map(size_t(info.channels), SF_CHANNEL_MAP_INVALID);
  if (sf_command(f, SFC_GET_CHANNEL_MAP_INFO, map.data(), int(map.size() * sizeof(int))) == SF_TRUE) return map;
  enum { L = SF_CHANNEL_MAP_FRONT_LEFT, R = SF_CHANNEL_MAP_FRONT_RIGHT, C = SF_CHANNEL_MAP_FRONT_CENTER,
         LFE = SF_CHANNEL_MAP_LFE, RL = SF_CHANNEL_MAP_REAR_LEFT, RR = SF_CHANNEL_MAP_REAR_RIGHT,
         RC = SF_CHANNEL_MAP_REAR_CENTER, SL = SF_CHANNEL_MAP_SIDE_LEFT, SR = SF_CHANNEL_MAP_SIDE_RIGHT };
  static const std::vector<int> kOgg[] = {{L, C, R}, {L, R, RL, RR}, {L, C, R, RL, RR}, {L, C, R, RL, RR, LFE},
                                          {L, C, R, SL, SR, RC, LFE}, {L, C, R, SL, SR, RL, RR, LFE}};
  static const std::vector<int> kWav = {L, R, C, LFE, RL, RR, SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER,
                                        SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER, RC, SL, SR};
  bool ogg = (info.format & SF_FORMAT_TYPEMASK) == SF_FORMAT_OGG;
  const std::vector<int>& order = ogg && info.channels >= 3 && info.channels <= 8 ? kOgg[info.channels - 3] : kWav;
  for (size_t i = 0; i < map.size(); i++) map[i] = i < order.size() ? order[i] : (i % 2 ? R : L);
  return map;
}

// The share of a channel in the left and the right of a stereo mix-down: front
// sides whole, the others at -3 dB, the low-frequency channel left out.
void MixShare(int position, float& left, float& right) {
  const float half = float(M_SQRT1_2);
  switch (position) {
    case SF_CHANNEL_MAP_LEFT: case SF_CHANNEL_MAP_FRONT_LEFT: left = 1, right = 0; return;
    case SF_CHANNEL_MAP_RIGHT: case SF_CHANNEL_MAP_FRONT_RIGHT: left = 0, right = 1; return;
    case SF_CHANNEL_MAP_REAR_LEFT: case SF_CHANNEL_MAP_SIDE_LEFT: case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
    case SF_CHANNEL_MAP_TOP_FRONT_LEFT: case SF_CHANNEL_MAP_TOP_REAR_LEFT: left = half, right = 0; return;
    case SF_CHANNEL_MAP_REAR_RIGHT: case SF_CHANNEL_MAP_SIDE_RIGHT: case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
    case SF_CHANNEL_MAP_TOP_FRONT_RIGHT: case SF_CHANNEL_MAP_TOP_REAR_RIGHT: left = 0, right = half; return;
    case SF_CHANNEL_MAP_LFE: left = right = 0; return;
    default: left = right = half; return;  // centres, mono and the rest
  }
}

int16_t ToSample(float v) {
  if (std::isnan(v)) return 0;
  return int16_t(std::lrint(std::clamp(v * 32768.0f, -32768.0f, 32767.0f)));
}

// Decodes frames [first, last) of a file (last -1: to its end) as 16-bit
// samples at the file's own level: float data is not scaled to its peak.
int Decode(const std::string& path, int64_t first, int64_t last, Decoded& out) {
  SF_INFO info{};
  SNDFILE* f = sf_open(path.c_str(), SFM_READ, &info);
  if (!f) return MCI_ERR_FILE;
  int error = MCI_OK;
  if (info.channels < 1 || info.samplerate <= 0) error = MCI_ERR_FILE;
  out.rate = info.samplerate;
  out.channels = std::min(info.channels, 2);
  out.total = info.frames;
  if (error == MCI_OK && first > 0 && sf_seek(f, first, SEEK_SET) < 0) error = MCI_ERR_OUT_OF_RANGE;
  if (error == MCI_OK) {
    std::vector<float> left, right;
    if (info.channels > 2) {
      std::vector<int> map = ChannelMap(f, info);
      left.resize(map.size());
      right.resize(map.size());
      for (size_t c = 0; c < map.size(); c++) MixShare(map[c], left[c], right[c]);
    }
    const int64_t chunk = 16384;
    std::vector<float> block(size_t(chunk * info.channels));
    int64_t wanted = last < 0 ? INT64_MAX : last - first;
    int64_t got = 0;
    while (got < wanted) {
      int64_t n = std::min(chunk, wanted - got);
      // Keep the buffer within what one OpenAL buffer can take.
      if ((got + n) * out.channels * 2 > INT_MAX) {
        error = MCI_ERR_FILE;
        break;
      }
      sf_count_t read = sf_readf_float(f, block.data(), n);
      if (read <= 0) break;
      out.samples.resize(size_t((got + read) * out.channels));
      int16_t* to = out.samples.data() + got * out.channels;
      for (sf_count_t i = 0; i < read; i++) {
        const float* frame = block.data() + i * info.channels;
        if (info.channels <= 2) {
          for (int c = 0; c < info.channels; c++) *to++ = ToSample(frame[c]);
          continue;
        }
        float l = 0, r = 0;
        for (size_t c = 0; c < left.size(); c++) {
          l += left[c] * frame[c];
          r += right[c] * frame[c];
        }
        *to++ = ToSample(l);
        *to++ = ToSample(r);
      }
      got += read;
    }
    out.samples.resize(size_t(got * out.channels));
    if (last < 0 && got > 0) out.total = first + got;  // the decoder's count may be an estimate
  }
  sf_close(f);
  return error;
}
}  // namespace

void MCI_Music_SetOutputOpen(bool open) {
  if (g_MusicContext) {
    if (alcGetCurrentContext() == g_MusicContext) alcMakeContextCurrent(nullptr);
    alcDestroyContext(g_MusicContext);
    g_MusicContext = nullptr;
  }
  g_MusicDevice = open ? SoundOutput_Device() : nullptr;
}

CMCIMusic::~CMCIMusic() {
  if (!g_MusicContext) return;
  CMusicScope scope;
  if (m_Source) {
    alSourceStop(m_Source);
    alDeleteSources(1, &m_Source);
  }
  if (m_Buffer) alDeleteBuffers(1, &m_Buffer);
  alGetError();
}

int CMCIMusic::Open(const std::string& path) {
  if (!MakeMusicContext()) return MCI_ERR_NO_SOUND_DEVICE;
  Decoded d;
  int error = Decode(path, 0, -1, d);
  if (error != MCI_OK) return error;
  m_Path = path;
  m_Rate = d.rate;
  m_Channels = d.channels;
  m_Frames = int64_t(d.samples.size()) / d.channels;
  CMusicScope scope;
  alGetError();
  alGenSources(1, &m_Source);
  if (alGetError() != AL_NO_ERROR) {
    m_Source = 0;
    return MCI_ERR_NO_SOUND_DEVICE;
  }
  alSourcei(m_Source, AL_SOURCE_RELATIVE, AL_TRUE);
  return Upload(d.samples.data(), m_Frames) ? MCI_OK : MCI_ERR_FILE;
}

bool CMCIMusic::Upload(const int16_t* samples, int64_t frames) {
  alSourceStop(m_Source);
  alSourcei(m_Source, AL_BUFFER, 0);
  if (m_Buffer) alDeleteBuffers(1, &m_Buffer);
  m_Buffer = 0;
  if (frames <= 0) return true;
  alGetError();
  alGenBuffers(1, &m_Buffer);
  alBufferData(m_Buffer, m_Channels == 2 ? AL_FORMAT_STEREO16 : AL_FORMAT_MONO16, samples,
               ALsizei(frames * m_Channels * 2), m_Rate);
  alSourcei(m_Source, AL_BUFFER, ALint(m_Buffer));
  if (alGetError() == AL_NO_ERROR) return true;
  alSourcei(m_Source, AL_BUFFER, 0);
  alDeleteBuffers(1, &m_Buffer);
  m_Buffer = 0;
  alGetError();
  return false;
}

int64_t CMCIMusic::FramesToMs(int64_t frames) const { return frames * 1000 / m_Rate; }
int64_t CMCIMusic::MsToFrames(int64_t ms) const { return std::clamp<int64_t>(ms, 0, INT64_MAX / m_Rate) * m_Rate / 1000; }

int64_t CMCIMusic::CurrentFrame() const {
  ALint state = State(), offset = 0;
  if (!m_Source || !g_MusicContext) return m_Position;
  CMusicScope scope;
  if (state == AL_PLAYING || state == AL_PAUSED) {
    alGetSourcei(m_Source, AL_SAMPLE_OFFSET, &offset);
    return m_BufferStart + offset;
  }
  if (state == AL_STOPPED && m_Buffer) {  // played to its end
    ALint size = 0;
    alGetBufferi(m_Buffer, AL_SIZE, &size);
    return m_BufferStart + size / (2 * m_Channels);
  }
  return m_Position;
}

int CMCIMusic::Play(int64_t fromMs, int64_t toMs, bool repeat) {
  if (!m_Source || !g_MusicContext) return MCI_ERR_NO_SOUND_DEVICE;
  int64_t from = fromMs >= 0 ? std::min(MsToFrames(fromMs), m_Frames) : CurrentFrame();
  if (fromMs < 0 && from >= m_Frames) from = 0;
  int64_t to = toMs >= 0 ? std::min(MsToFrames(toMs), m_Frames) : m_Frames;
  if (to <= from) return toMs >= 0 ? MCI_ERR_OUT_OF_RANGE : MCI_OK;
  CMusicScope scope;
  ALint size = 0;
  if (m_Buffer) alGetBufferi(m_Buffer, AL_SIZE, &size);
  int64_t bufferEnd = m_BufferStart + size / (2 * m_Channels);
  // A play to a point takes a buffer of just that stretch (decoded again), so
  // that it ends, or repeats, there; other plays want the whole file.
  bool wantRange = toMs >= 0 && to < m_Frames;
  bool haveWhole = m_Buffer && m_BufferStart == 0 && bufferEnd == m_Frames;
  if (wantRange || !haveWhole) {
    int64_t first = wantRange ? from : 0;
    Decoded d;
    int error = Decode(m_Path, first, wantRange ? to : -1, d);
    if (error != MCI_OK) return error;
    if (!Upload(d.samples.data(), int64_t(d.samples.size()) / m_Channels)) return MCI_ERR_FILE;
    m_BufferStart = first;
  } else {
    alSourceStop(m_Source);
  }
  alSourcei(m_Source, AL_LOOPING, repeat ? AL_TRUE : AL_FALSE);
  alSourcef(m_Source, AL_GAIN, m_Gain);
  alSourcei(m_Source, AL_SAMPLE_OFFSET, ALint(from - m_BufferStart));
  alSourcePlay(m_Source);
  alGetError();
  return MCI_OK;
}

int CMCIMusic::State() const {
  ALint state = AL_INITIAL;
  if (!m_Source || !g_MusicContext) return state;
  CMusicScope scope;
  alGetSourcei(m_Source, AL_SOURCE_STATE, &state);
  return state;
}

void CMCIMusic::Pause() {
  if (State() != AL_PLAYING) return;
  CMusicScope scope;
  alSourcePause(m_Source);
}

void CMCIMusic::Resume() {
  if (State() != AL_PAUSED) return;
  CMusicScope scope;
  alSourcePlay(m_Source);
}

void CMCIMusic::Stop() {
  if (!m_Source || !g_MusicContext) return;
  m_Position = CurrentFrame();
  CMusicScope scope;
  alSourceStop(m_Source);
  alSourceRewind(m_Source);  // back to the initial state: the position is ours now
}

void CMCIMusic::Seek(int64_t ms) {
  Stop();
  m_Position = ms < 0 ? m_Frames : std::min(MsToFrames(ms), m_Frames);
}

void CMCIMusic::SetVolume(int volume) {
  m_Gain = float(std::max(volume, 0)) / 1000.0f;
  if (!m_Source || !g_MusicContext) return;
  CMusicScope scope;
  alSourcef(m_Source, AL_GAIN, m_Gain);
}

const char* CMCIMusic::Mode() const {
  ALint state = State();
  return state == AL_PLAYING ? "playing" : state == AL_PAUSED ? "paused" : "stopped";
}

int64_t CMCIMusic::LengthMs() const { return FramesToMs(m_Frames); }
int64_t CMCIMusic::PositionMs() const { return FramesToMs(CurrentFrame()); }
