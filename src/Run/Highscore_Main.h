// The highscore table: 10 places of a name and a score, kept in
// "hiscore.dat" in the save folder.
#pragma once
#include <cstdint>
#include <string>

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

// How the table would be shown; games set it, nothing here draws with it.
// An empty text stands for none.
struct HighscoreDisplay {
  int background = -1;
  uint32_t backColour = 0xF0FBFF;  // BGR
  uint32_t newColour = 0xFF;
  uint32_t otherColour = 0;
  std::string font = "Times New Roman";
  int fontSize = 12;
  bool border = true;
  std::string caption = "Top Ten Players";
  std::string closeHint = "press <Escape> to close";
};
extern HighscoreDisplay g_HighscoreDisplay;

// Draws the ten places in the rectangle with the current font, colour and
// alignment: the names at the left, the scores right-aligned, one row per
// tenth of the height.
void Highscore_Draw(double x1, double y1, double x2, double y2);

// Reads "hiscore.dat" from the save folder; a missing or malformed file
// leaves the table empty. Writes the table there.
void Highscore_Load();
bool Highscore_Save();
