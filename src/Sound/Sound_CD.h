// Sound_*: the CD built-ins beside the classic sound list; Audio_* is the
// newer audio system.
// CD audio over MCI command strings ("cdaudio"). Lengths and positions are
// in milliseconds. Each function opens the device anew and asks whether a
// disc is present; on a machine without a drive every query answers 0 or
// false and the commands that need a disc send nothing more.
#pragma once
#include <cstddef>

void CD_Init();
bool CD_Present();
int CD_Number();
bool CD_Playing();
bool CD_Paused();
int CD_Track();
int CD_Length();
int CD_TrackLength(int track);
int CD_Position();
int CD_TrackPosition();
void CD_Play(int first, int last);
void CD_Stop();
void CD_Pause();
void CD_Resume();
void CD_SetPosition(int position);
void CD_SetTrackPosition(int position);
void CD_OpenDoor();
void CD_CloseDoor();

// Where the commands go (the MCI interpreter unless replaced, e.g. by a
// test's drive): command, reply buffer, its length; returns an MCI code.
using CD_Sender = int (*)(const char* command, char* reply, size_t length);
void CD_SetSender(CD_Sender sender);
