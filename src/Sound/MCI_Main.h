// MCI command strings, interpreted by the runner itself: music files are
// decoded whole with libsndfile (WAV, OGG, FLAC, MP3) and played on an
// OpenAL context of their own; MIDI ("sequencer") and CD audio ("cdaudio")
// answer with errors, as there is no synthesiser or drive to play them.
//
// Commands, case-insensitive, words separated by spaces, a file name may
// stand between double quotes ("wait" and "notify" are accepted anywhere):
//   open FILE [type mpegvideo|waveaudio] [alias A]   (A defaults to FILE)
//   close A | close all
//   play A [from MS] [to MS] [repeat]
//   pause A, resume A, stop A (keeps the position)
//   seek A to start|end|MS
//   set A time format milliseconds|ms, set A seek exactly on|off
//   setaudio A volume to N    (0 silent, 1000 full)
//   status A mode|length|position   (mode: "playing", "paused", "stopped")
#pragma once
#include <cstddef>

enum : int {
  MCI_OK = 0,
  MCI_ERR_UNKNOWN_COMMAND = 257,
  MCI_ERR_NOT_OPEN,         // no alias of that name
  MCI_ERR_MISSING_WORD,     // the command needs a word it does not have
  MCI_ERR_BAD_WORD,         // a word the command does not take
  MCI_ERR_BAD_NUMBER,
  MCI_ERR_FILE,             // the file is missing or cannot be decoded
  MCI_ERR_NO_MIDI,
  MCI_ERR_NO_CD,
  MCI_ERR_ALIAS_TAKEN,
  MCI_ERR_NO_SOUND_DEVICE,
  MCI_ERR_OUT_OF_RANGE,
};

// Carries out one command. A reply (the status answers) is written into
// reply, cut to replyLength - 1 bytes and terminated; reply may be null.
// Returns MCI_OK or an error code.
int MCI_SendString(const char* command, char* reply, size_t replyLength);
// The text of an error code, cut to length - 1 bytes and terminated.
void MCI_GetErrorString(int error, char* text, size_t length);
// Closes every alias (start of a new sound output, and its end).
void MCI_CloseAll();
