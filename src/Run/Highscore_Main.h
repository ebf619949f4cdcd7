// The highscore table: 10 places of a name and a score, kept in
// "hiscore.dat" in the save folder.
#pragma once
#include <cstdint>

constexpr int HIGHSCORE_PLACES = 10;

// Fills every place with the empty-place name and score 0.
void Highscore_Clear();
// Puts the entry at the first place whose score is lower (an equal score
// stays ahead); the places below move down and the last drops out.
void Highscore_Add(const char* name, int32_t score);
// Place 1 to 10: its score (0 outside), its name (null when empty or outside).
int32_t Highscore_Value(int place);
const char* Highscore_Name(int place);
// The name empty places get ("<nobody>" unless a game sets another).
void Highscore_SetEmptyName(const char* name);
void Highscore_Show(int32_t score);

// Reads "hiscore.dat" from the save folder; a missing or malformed file
// leaves the table empty. Writes the table there.
void Highscore_Load();
bool Highscore_Save();
