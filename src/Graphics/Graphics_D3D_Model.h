// 3D models: lists of drawing commands recorded by scripts, replayed by
// drawing, and kept in a text file (docs/model-format.md). Ids are never
// reused; an id never made or already destroyed is ignored everywhere.
#pragma once
#include <string>
#include <vector>

// The commands, numbered as in the model text format.
enum {
  MODEL_BEGIN = 0, MODEL_END, MODEL_VERTEX, MODEL_VERTEX_COLOR, MODEL_VERTEX_TEXTURE, MODEL_VERTEX_TEXTURE_COLOR,
  MODEL_VERTEX_NORMAL, MODEL_VERTEX_NORMAL_COLOR, MODEL_VERTEX_NORMAL_TEXTURE, MODEL_VERTEX_NORMAL_TEXTURE_COLOR,
  MODEL_BLOCK, MODEL_CYLINDER, MODEL_CONE, MODEL_ELLIPSOID, MODEL_WALL, MODEL_FLOOR, MODEL_COMMAND_COUNT
};

// One command: its number and its arguments after the model id, padded
// with 0 (a primitive's kind; a vertex's x, y, z, then its normal, texture
// coordinates, colour and alpha as its form has them; a shape's corners,
// hrepeat, vrepeat, then closed and steps).
struct D3DModelCommand {
  int kind = 0;
  double args[10] = {};
};

int D3D_Model_Create();
void D3D_Model_Destroy(int id);
bool D3D_Model_Exists(int id);
void D3D_Model_Clear(int id);
// Records a command; nothing for a bad id or command number.
void D3D_Model_Add(int id, const D3DModelCommand& command);
const std::vector<D3DModelCommand>* D3D_Model_Commands(int id);
// Draws the model moved by (x, y, z) with the texture (-1 none): one batch
// run for each run of one primitive kind. The vertices are built once and
// again only after the model changes.
void D3D_Model_Draw(int id, float x, float y, float z, int texture);

// The text form. Parse gives false with the line (1 up) and the reason when
// the text is not a model.
std::string D3D_Model_ToText(const std::vector<D3DModelCommand>& commands);
bool D3D_Model_ParseText(const char* text, size_t length, std::vector<D3DModelCommand>* out, int* line,
                         std::string* reason);
// Replaces the model's commands with those of the file at the full path;
// false, the model unchanged and a console line naming the file (by name)
// and line, when the file cannot be read or is not a model.
bool D3D_Model_Load(int id, const char* path, const char* name);
// Writes the model to the name in the save folder, whole or not at all;
// false (with a console line) when it cannot be written.
bool D3D_Model_Save(int id, const char* name);
