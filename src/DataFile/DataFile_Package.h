// The records of a loaded game package: plain data that the game world, the
// renderer, the sound system and the extension layer build their resources
// from. The layout of the file itself is described in docs/package-format.md.
//
// A GamePackage owns the whole file in `buffer`; every std::span in the
// records points into that buffer (or, while a package is being built, into
// memory the builder keeps alive). Moving a GamePackage keeps the spans valid;
// copying is not allowed because the copies would point into the original.
//
// Resource indices: a resource refers to another by its index in the other
// kind's list (-1 for none). A list entry whose `exists` is false is an empty
// slot: the index is taken but holds no resource.
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

using PackageBytes = std::span<const uint8_t>;

// GEN7 / GENL / GEN8: the general block.
struct PackageGeneral {
  uint32_t version = 800;          // 700 for a GEN7 header, 800 for GENL and GEN8
  std::string name;                // the game's name (also names the save folder)
  std::string caption;             // the window caption before a room sets one
  uint32_t game_id = 0;            // written at the head of save games
  uint32_t major = 1, minor = 0, release = 0, build = 0;  // the game's own version
  int32_t window_width = 640;      // the window's client size at start
  int32_t window_height = 480;
  int32_t last_instance_id = 100000;  // highest instance id used by the rooms
  int32_t last_tile_id = 10000000;    // highest tile id used by the rooms
  bool debug = false;              // built for debugging
  std::vector<int32_t> room_order; // room indices, the first is the first room
};

// OPTN: the game options. On disk 35 words in the order below (the word
// number of each field is given), then the constants.
struct PackageOptions {
  bool fullscreen = false;            // 0  start in full screen
  bool interpolate = false;           // 1  smooth (linear) texture filtering
  bool new_audio = false;             // 2  the newer audio system takes the sounds
  bool borderless = false;            // 3  window without border and caption
  bool show_cursor = true;            // 4  show the mouse cursor
  int32_t scale = 0;                  // 5  0 keep aspect ratio, >0 percent, <0 fill
  bool sizeable = false;              // 6  the player may resize the window
  bool stay_on_top = false;           // 7  window stays on top
  uint32_t window_colour = 0;         // 8  BGR colour outside the drawn area
  bool change_resolution = false;     // 9  change the display mode at start
  int32_t colour_depth = 0;           // 10 display mode: 0 keep, 1 16-bit, 2 32-bit
  int32_t resolution = 0;             // 11 display mode size code, 0 keep
  int32_t frequency = 0;              // 12 display mode refresh code, 0 keep
  bool no_buttons = false;            // 13 no caption buttons
  bool vsync = false;                 // 14 wait for the vertical blank
  bool no_screensaver = true;         // 15 keep the screen saver away
  bool key_fullscreen = true;         // 16 F4 toggles full screen
  bool key_help = true;               // 17 F1 shows the game information
  bool key_quit = true;               // 18 Escape ends the game
  bool key_save_load = true;          // 19 F5 saves, F6 loads
  bool key_screenshot = true;         // 20 F9 takes a screen shot
  bool close_as_escape = true;        // 21 the close button acts as Escape
  int32_t priority = 0;               // 22 process priority: 0 normal, 1 high, 2 highest
  bool freeze_when_inactive = false;  // 23 the step ends early while inactive
  bool show_progress = true;          // 24 show a load bar while preparing
  bool show_errors = true;            // 25 show the error dialog on script errors
  bool write_errors = false;          // 26 also write errors to a log file
  bool errors_fatal = false;          // 27 every error is fatal
  bool unknown_variables_zero = false;  // 28 unknown variables read as 0
  // words 29 to 34 are reserved and written as 0
  std::vector<std::pair<std::string, std::string>> constants;  // name, value text
};

// TPAG: one texture page entry, the part of a texture page that a sprite
// frame, a background or a font's glyphs are drawn from.
struct TexturePageEntry {
  int16_t x = 0, y = 0;                  // top-left of the drawn part on the page
  int16_t width = 0, height = 0;         // size of that part on the page
  int16_t x_offset = 0, y_offset = 0;    // where the drawn part sits in the frame
  int16_t drawn_width = 0, drawn_height = 0;  // size it is drawn at in the frame
  int16_t frame_width = 0, frame_height = 0;  // size of the whole frame
  int16_t texture_id = 0;                // index into the texture pages (TXTR)
};

// TXTR: one texture page, a PNG image as the file holds it.
struct PackageTexture {
  PackageBytes png;
};

// One collision mask: width * height bytes, row by row, 1 where the pixel
// counts for precise collisions, else 0.
using PackageMask = std::vector<uint8_t>;

// SPRT
struct PackageSprite {
  bool exists = false;
  std::string name;
  int32_t width = 0, height = 0;
  int32_t x_origin = 0, y_origin = 0;
  int32_t bbox_mode = 0;               // 0 automatic, 1 full image, 2 manual
  int32_t bbox_left = 0, bbox_top = 0, bbox_right = 0, bbox_bottom = 0;  // inclusive
  bool precise = false;                // collisions test the masks
  bool transparent = false;            // the image had a transparent colour
  bool smooth = false;                 // edges smoothed when loaded
  bool preload = true;                 // textures made at start
  std::vector<int32_t> frames;         // TPAG index of each frame
  // Collision masks: none (the box is the mask), one per frame, or one mask
  // shared by every frame.
  std::vector<PackageMask> masks;
};

// BGND
struct PackageBackground {
  bool exists = false;
  std::string name;
  int32_t width = 0, height = 0;
  bool transparent = false, smooth = false, preload = true;
  int32_t tpag = -1;                   // TPAG index of the image, -1 none
};

// One glyph of a font: its rectangle on the font's texture page entry
// (relative to the entry's x and y), the distance to the next glyph and the
// horizontal offset it is drawn at.
struct PackageGlyph {
  int32_t code = 0;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t shift = 0;
  int32_t offset = 0;
};

// FONT. A font with no glyphs and tpag -1 is drawn with the renderer's
// built-in glyphs at its size.
struct PackageFont {
  bool exists = false;
  std::string name;
  std::string font_name;               // the typeface name, may be empty
  int32_t size = 12;
  bool bold = false, italic = false;
  int32_t first = 32, last = 127;      // character range
  int32_t tpag = -1;                   // TPAG index of the glyph image, -1 none
  std::vector<PackageGlyph> glyphs;
};

// PATH
struct PackagePathPoint {
  float x = 0, y = 0, speed = 100;
};
struct PackagePath {
  bool exists = false;
  std::string name;
  int32_t kind = 0;                    // 0 straight, 1 smooth
  bool closed = true;
  int32_t precision = 4;
  std::vector<PackagePathPoint> points;
};

// SCPT
struct PackageScript {
  bool exists = false;
  std::string name;
  std::string code;                    // source text
};

// TMLN
struct PackageMoment {
  int32_t step = 0;
  std::string code;                    // source text run at that step
};
struct PackageTimeLine {
  bool exists = false;
  std::string name;
  std::vector<PackageMoment> moments;  // in ascending step order
};

// OBJT. Event types: 0 create, 1 destroy, 2 alarm, 3 step, 4 collision,
// 5 keyboard, 6 mouse, 7 other, 8 draw, 9 key press, 10 key release.
struct PackageEvent {
  int32_t type = 0;
  int32_t number = 0;                  // alarm, step kind, object, key, ...
  std::string code;                    // source text
};
// The body its instances get in a room with a physics world: sizes and
// points in room pixels about the instance.
struct PackageObjectPhysics {
  bool enabled = false;
  int32_t shape = 0;                   // 0 circle, 1 box, 2 polygon
  float radius = 0, width = 0, height = 0;
  std::vector<std::pair<float, float>> points;  // polygon: 3 to 8, clockwise on screen
  float density = 0.5f, restitution = 0.1f, friction = 0.2f;
  float linear_damping = 0.1f, angular_damping = 0.1f;
  int32_t collision_group = 0;         // -32768 to 32767
  bool sensor = false, awake = true, kinematic = false;
};
struct PackageObject {
  bool exists = false;
  std::string name;
  int32_t sprite = -1;
  int32_t mask = -1;                   // sprite used as mask, -1 the sprite
  int32_t parent = -1;
  int32_t depth = 0;
  bool solid = false, visible = true, persistent = false;
  std::vector<PackageEvent> events;    // by type, then number
  PackageObjectPhysics physics;
};

// ROOM
struct PackageRoomBackground {
  bool visible = false;
  bool foreground = false;
  int32_t index = -1;                  // background index
  float x = 0, y = 0;
  bool htiled = true, vtiled = true;
  float hspeed = 0, vspeed = 0;
  float xscale = 1, yscale = 1;
  bool stretch = false;
  float alpha = 1;
};
struct PackageRoomView {
  bool visible = false;
  int32_t xview = 0, yview = 0, wview = 640, hview = 480;
  int32_t xport = 0, yport = 0, wport = 640, hport = 480;
  float angle = 0;
  int32_t hborder = 32, vborder = 32;
  int32_t hspeed = -1, vspeed = -1;
  int32_t object = -1;                 // object followed, -1 none
};
struct PackageRoomInstance {
  float x = 0, y = 0;
  int32_t object = 0;
  int32_t id = 0;                      // 100001 and up
  std::string code;                    // creation code, may be empty
};
// Fields as the room's tile record keeps them.
struct PackageRoomTile {
  float x = 0, y = 0;
  int32_t background = -1;
  int32_t left = 0, top = 0, width = 0, height = 0;
  float depth = 0;
  int32_t id = 0;                      // 10000001 and up
  float xscale = 1, yscale = 1;
  uint32_t blend = 0xFFFFFF;           // BGR
  float alpha = 1;
  bool visible = true;
};
// The physics world the room makes when it starts.
struct PackageRoomPhysics {
  bool enabled = false;
  float gravity_x = 0, gravity_y = 10;
  float scale = 0.1f;                  // metres per pixel
};
struct PackageRoom {
  bool exists = false;
  std::string name;
  std::string caption;
  int32_t width = 640, height = 480;
  int32_t speed = 30;                  // steps per second
  bool persistent = false;
  uint32_t colour = 0xC0C0C0;          // BGR
  bool show_colour = true;
  std::string code;                    // creation code
  std::array<PackageRoomBackground, 8> backgrounds;
  bool views_enabled = false;
  std::array<PackageRoomView, 8> views;
  std::vector<PackageRoomInstance> instances;
  std::vector<PackageRoomTile> tiles;
  PackageRoomPhysics physics;
};

// DAFL: an included file.
struct PackageIncludedFile {
  std::string name;                    // file name, no folder
  PackageBytes data;
  int32_t export_mode = 0;             // 0 none, 1 temporary folder, 2 game folder, 3 export_folder
  std::string export_folder;           // for export mode 3
  bool overwrite = false;              // replace a file already there
  bool free_after_export = true;       // drop the data once written
  bool remove_at_end = true;           // delete the written file at game end
};

// SOND: one sound entry (see the chunk's layout for the field widths).
struct PackageSound {
  bool exists = false;
  std::string name;
  int32_t kind = 0;                    // 0 normal, 1 background, 2 3D, 3 multimedia
  std::string extension;               // e.g. ".wav"
  std::string file_name;               // file name part, no folder
  uint32_t effects = 0;
  float volume = 1, pan = 0;
  bool preload = true;
  uint32_t audio = 0;                  // index of its blob in the AUDO list
};

// EXTN, as the extension layer's model describes it.
struct PackageExtensionFunction {
  std::string name;
  int32_t id = 0;
  int32_t call_kind = 11;              // 12 cdecl, else stdcall
  int32_t return_kind = 2;             // 1 string, else real
  std::string external_name;
  int32_t argument_count = 0;
  std::vector<int32_t> argument_kinds; // at most 16 kept; 1 string, else real
  std::string code;                    // EXTS: the body of a code file's function
};
struct PackageExtensionFile {
  bool exists = false;
  std::string file_name;
  std::string finalize;                // finalization function name
  std::string initialize;              // initialization function name
  int32_t kind = 0;                    // 1 DLL, 2 script code
  std::vector<PackageExtensionFunction> functions;
  std::vector<std::pair<std::string, std::string>> constants;  // EXTS: name, value text
};
struct PackageExtension {
  bool exists = false;
  std::string folder;
  std::string name;
  std::vector<PackageExtensionFile> files;
};

// A chunk's payload inside the package buffer: its file offset, size and bytes.
struct PackageChunk {
  bool present = false;
  uint32_t offset = 0;                 // file offset of the payload
  PackageBytes bytes;
};

struct GamePackage {
  GamePackage() = default;
  GamePackage(GamePackage&&) = default;
  GamePackage& operator=(GamePackage&&) = default;
  GamePackage(const GamePackage&) = delete;
  GamePackage& operator=(const GamePackage&) = delete;

  std::vector<uint8_t> buffer;         // the whole file as read

  PackageGeneral general;
  PackageOptions options;
  std::vector<std::string> strings;    // STRG, in order
  std::vector<PackageTexture> textures;
  std::vector<TexturePageEntry> tpag;
  std::vector<PackageSprite> sprites;
  std::vector<PackageBackground> backgrounds;
  std::vector<PackageFont> fonts;
  std::vector<PackagePath> paths;
  std::vector<PackageScript> scripts;
  std::vector<PackageTimeLine> timelines;
  std::vector<PackageObject> objects;
  std::vector<PackageRoom> rooms;
  std::vector<PackageIncludedFile> included_files;
  std::vector<PackageSound> sounds;
  std::vector<PackageBytes> audio;     // AUDO: the sound file images
  std::vector<PackageExtension> extensions;

  // The raw payloads, for readers that walk the bytes themselves. Text and
  // record fields inside them are file offsets: read them through a
  // CPackageView over `buffer` (DataFile_View.h).
  PackageChunk sond, audo, extn;
  // Precompiled code and help text, when a package carries them; absent in
  // the packages this system builds, which hold source text.
  PackageChunk code, vari, func, help;
};

// Reads a package file whole and fills `out`. On failure logs
// "Failed to load the game" with the reason, leaves the reason in `error`
// and returns false.
bool DataFile_LoadPackage(const char* path, GamePackage& out, std::string& error);
// The same for a package already in memory; `out.buffer` takes the bytes.
bool DataFile_LoadPackageFromMemory(std::vector<uint8_t> bytes, GamePackage& out, std::string& error);
