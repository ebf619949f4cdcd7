// One opened music file of the MCI interpreter: decoded whole into an OpenAL
// buffer when opened, played on a source of the music context, so that the
// listener of the sound contexts never scales it.
#pragma once
#include <cstdint>
#include <string>

// Whether the sound output (Sound_Output.h) is open: the music plays on its
// device, already given its attributes by the sound context, in a context
// made on it when the first file is opened. Closed: music cannot be opened.
// Destroys an earlier music context.
void MCI_Music_SetOutputOpen(bool open);

class CMCIMusic {
 public:
  CMCIMusic() = default;
  ~CMCIMusic();
  CMCIMusic(const CMCIMusic&) = delete;
  CMCIMusic& operator=(const CMCIMusic&) = delete;

  // Decodes the file; an MCI error code (MCI_OK when it plays).
  int Open(const std::string& path);
  // Plays from a position (-1: the current one, from the start when at the
  // end) to a position (-1: the end), over and over with repeat.
  int Play(int64_t fromMs, int64_t toMs, bool repeat);
  void Pause();
  void Resume();
  // Stops where it is.
  void Stop();
  // Stops and moves to a position (clamped to the length).
  void Seek(int64_t ms);
  // 0 silent, 1000 full; negative volumes are silent.
  void SetVolume(int volume);
  const char* Mode() const;
  int64_t LengthMs() const;
  int64_t PositionMs() const;

 private:
  int State() const;
  int64_t FramesToMs(int64_t frames) const;
  int64_t MsToFrames(int64_t ms) const;
  // The source's place in the file, in frames.
  int64_t CurrentFrame() const;
  bool Upload(const int16_t* samples, int64_t frames);

  std::string m_Path;
  unsigned int m_Buffer = 0, m_Source = 0;  // OpenAL names
  int m_Rate = 44100, m_Channels = 1;
  int64_t m_Frames = 0;        // length of the file
  int64_t m_BufferStart = 0;   // file frame the buffer starts at
  int64_t m_Position = 0;      // file frame while stopped
  float m_Gain = 1.0f;
};
