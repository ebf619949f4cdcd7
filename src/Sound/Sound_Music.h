// Sound_*: part of the classic sound list (CSound, the sound_* built-ins);
// Audio_* is the newer audio system.
// The MP3 player: one current MCI alias ("MediaFile1", "MediaFile2", ...)
// for the music of the classic sound system.
#pragma once

// Opens and plays a file; a relative name is taken from the game's folder.
// The alias played before is closed first.
void MP3_Play(const char* name, bool loop);
// Back to the start and stopped; the alias stays open.
void MP3_Stop();
// A linear volume (1.0 full); negative volumes are silent.
void MP3_SetVolume(float volume);
bool MP3_IsPlaying();
// Forgets the alias (the MCI aliases were closed with the sound output).
void MP3_Reset();
