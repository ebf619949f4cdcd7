#include "Graphics/Graphics_D3D_Model.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_D3D_Shape.h"
#include "IO/LoadSave_Main.h"

namespace {

constexpr int kModelVersion = 100;
// A short file of large shapes could ask for more memory than there is: a
// model draws at most this many vertices (about 150 MB).
constexpr size_t kMaxModelVertices = size_t(1) << 22;

// A run of vertices of one primitive kind, with the vertices that take the
// drawing colour marked.
struct Run {
  int kind;
  std::vector<SVertex3D> verts;
  std::vector<uint8_t> drawColour;
};

struct Model {
  std::vector<D3DModelCommand> commands;
  std::vector<Run> runs;
  bool built = false;
};

std::vector<std::unique_ptr<Model>> g_Models;

Model* Get(int id) {
  if (id < 0 || size_t(id) >= g_Models.size()) return nullptr;
  return g_Models[size_t(id)].get();
}

bool Mergeable(int kind) { return kind == PR_POINTLIST || kind == PR_LINELIST || kind == PR_TRIANGLELIST; }

// The run that the next vertices of the kind go to: the last one when it
// holds lists of the same kind, else a new one.
Run& RunFor(std::vector<Run>& runs, int kind) {
  if (runs.empty() || runs.back().kind != kind || !Mergeable(kind)) runs.push_back({kind, {}, {}});
  return runs.back();
}

// Which arguments each vertex form carries after x, y, z.
struct VertexForm {
  bool normal, texture, colour;
};
VertexForm FormOf(int kind) {
  int f = kind - MODEL_VERTEX;  // bit 0 colour, bit 1 texture, bit 2 normal
  return {(f & 4) != 0, (f & 2) != 0, (f & 1) != 0};
}

SVertex3D MakeVertex(const D3DModelCommand& c, bool* drawColour) {
  VertexForm form = FormOf(c.kind);
  const double* a = c.args;
  SVertex3D v{float(a[0]), float(a[1]), float(a[2]), 0, 0, 0, 0, 0, 0};
  int i = 3;
  if (form.normal) {
    v.nx = float(a[i]);
    v.ny = float(a[i + 1]);
    v.nz = float(a[i + 2]);
    i += 3;
  }
  if (form.texture) {
    v.u = float(a[i]);
    v.v = float(a[i + 1]);
    i += 2;
  }
  *drawColour = !form.colour;
  if (form.colour) v.colour = GR_ColourToARGB(uint32_t(Convert_RoundInt(a[i])), float(a[i + 1]));
  return v;
}

// The number of vertices added.
size_t AddShape(std::vector<Run>& runs, const D3DModelCommand& c) {
  const double* a = c.args;
  D3DBox box{float(a[0]), float(a[1]), float(a[2]), float(a[3]), float(a[4]), float(a[5])};
  float h = float(a[6]), v = float(a[7]);
  bool closed = Convert_IsTrue(a[8]);
  int steps = Convert_RoundInt(a[c.kind == MODEL_ELLIPSOID ? 8 : 9]);
  Run& run = RunFor(runs, PR_TRIANGLELIST);
  size_t before = run.verts.size();
  switch (c.kind) {
    case MODEL_BLOCK: D3D_Shape_Block(run.verts, box, h, v); break;
    case MODEL_CYLINDER: D3D_Shape_Cylinder(run.verts, box, h, v, closed, steps); break;
    case MODEL_CONE: D3D_Shape_Cone(run.verts, box, h, v, closed, steps); break;
    case MODEL_ELLIPSOID: D3D_Shape_Ellipsoid(run.verts, box, h, v, steps); break;
    case MODEL_WALL: D3D_Shape_Wall(run.verts, box, h, v); break;
    default: D3D_Shape_Floor(run.verts, box, h, v); break;
  }
  run.drawColour.resize(run.verts.size(), 1);
  return run.verts.size() - before;
}

// Whole primitives only, as immediate drawing keeps them.
void TrimRun(std::vector<Run>& runs) {
  if (runs.empty()) return;
  Run& r = runs.back();
  size_t keep = r.verts.size();
  if (r.kind == PR_LINELIST) keep -= keep % 2;
  if (r.kind == PR_TRIANGLELIST) keep -= keep % 3;
  r.verts.resize(keep);
  r.drawColour.resize(keep);
  if (keep == 0) runs.pop_back();
}

void Build(Model& m) {
  m.runs.clear();
  int open = 0;  // the kind of the primitive being recorded, 0 outside one
  size_t total = 0;
  for (const D3DModelCommand& c : m.commands) {
    if (total > kMaxModelVertices) {
      g_Console.Output("d3d_model_draw - the model has more than %zu vertices: the rest is left out\n",
                       kMaxModelVertices);
      break;
    }
    if (c.kind == MODEL_BEGIN) {
      if (open) TrimRun(m.runs);
      int kind = Convert_RoundInt(c.args[0]);
      open = kind >= PR_POINTLIST && kind <= PR_TRIANGLEFAN ? kind : 0;
      // A strip or fan always starts a run of its own.
      if (open) m.runs.push_back({open, {}, {}});
    } else if (c.kind == MODEL_END) {
      if (open) TrimRun(m.runs);
      open = 0;
    } else if (c.kind <= MODEL_VERTEX_NORMAL_TEXTURE_COLOR) {
      if (!open) continue;
      bool drawColour;
      Run& run = m.runs.back();
      run.verts.push_back(MakeVertex(c, &drawColour));
      run.drawColour.push_back(drawColour ? 1 : 0);
      total++;
    } else if (!open) {
      total += AddShape(m.runs, c);
    }
  }
  if (open) TrimRun(m.runs);
  // Adjacent lists of one kind draw as one run.
  std::vector<Run> merged;
  for (Run& r : m.runs) {
    if (!merged.empty() && merged.back().kind == r.kind && Mergeable(r.kind)) {
      merged.back().verts.insert(merged.back().verts.end(), r.verts.begin(), r.verts.end());
      merged.back().drawColour.insert(merged.back().drawColour.end(), r.drawColour.begin(), r.drawColour.end());
    } else {
      merged.push_back(std::move(r));
    }
  }
  m.runs = std::move(merged);
  m.built = true;
}

// The line's numbers: a command number and ten arguments.
bool ParseCommand(const std::string& line, D3DModelCommand* c, std::string* reason) {
  const char* p = line.c_str();
  double values[11];
  for (int i = 0; i < 11; i++) {
    char* end;
    errno = 0;
    values[i] = std::strtod(p, &end);
    if (end == p || !std::isfinite(values[i])) {
      *reason = i == 0 ? "no command number" : "a missing or bad number";
      return false;
    }
    p = end;
  }
  while (*p == ' ' || *p == '\t') p++;
  if (*p) {
    *reason = "more than 11 numbers";
    return false;
  }
  if (values[0] != std::floor(values[0]) || values[0] < 0 || values[0] >= double(MODEL_COMMAND_COUNT)) {
    *reason = "an unknown command";
    return false;
  }
  c->kind = int(values[0]);
  for (int i = 0; i < 10; i++) c->args[i] = values[i + 1];
  return true;
}

}  // namespace

int D3D_Model_Create() {
  g_Models.push_back(std::make_unique<Model>());
  return int(g_Models.size() - 1);
}

void D3D_Model_Destroy(int id) {
  if (Get(id)) g_Models[size_t(id)].reset();
}

bool D3D_Model_Exists(int id) { return Get(id) != nullptr; }

void D3D_Model_Clear(int id) {
  if (Model* m = Get(id)) {
    m->commands.clear();
    m->built = false;
  }
}

void D3D_Model_Add(int id, const D3DModelCommand& command) {
  Model* m = Get(id);
  if (!m || command.kind < 0 || command.kind >= MODEL_COMMAND_COUNT) return;
  m->commands.push_back(command);
  m->built = false;
}

const std::vector<D3DModelCommand>* D3D_Model_Commands(int id) {
  Model* m = Get(id);
  return m ? &m->commands : nullptr;
}

void D3D_Model_Draw(int id, float x, float y, float z, int texture) {
  Model* m = Get(id);
  if (!m) return;
  if (!m->built) Build(*m);
  for (const Run& r : m->runs)
    D3D_DrawVerts(r.kind, texture, r.verts.data(), int(r.verts.size()), r.drawColour.data(), x, y, z);
}

std::string D3D_Model_ToText(const std::vector<D3DModelCommand>& commands) {
  std::string text = std::to_string(kModelVersion) + "\n" + std::to_string(commands.size()) + "\n";
  char buffer[64];
  for (const D3DModelCommand& c : commands) {
    text += std::to_string(c.kind);
    for (double a : c.args) {
      std::snprintf(buffer, sizeof buffer, " %.9g", a);
      text += buffer;
    }
    text += "\n";
  }
  return text;
}

bool D3D_Model_ParseText(const char* text, size_t length, std::vector<D3DModelCommand>* out, int* line,
                         std::string* reason) {
  std::vector<D3DModelCommand> commands;
  size_t pos = 0;
  int number = 0;
  // The next line without its end; false at the end of the text (the
  // line number then names the missing line).
  auto next = [&](std::string* s) {
    number++;
    if (pos >= length) return false;
    size_t end = pos;
    while (end < length && text[end] != '\n') end++;
    *s = std::string(text + pos, end - pos);
    if (!s->empty() && s->back() == '\r') s->pop_back();
    pos = end + 1;
    return true;
  };
  auto fail = [&](const char* why) {
    *line = number;
    *reason = why;
    return false;
  };
  std::string s;
  char* end;
  if (!next(&s) || std::strtol(s.c_str(), &end, 10) != kModelVersion || *end) return fail("the first line is not 100");
  if (!next(&s)) return fail("no command count");
  long count = std::strtol(s.c_str(), &end, 10);
  if (end == s.c_str() || *end || count < 0) return fail("a bad command count");
  // The count only says how many lines to read: the lines themselves fill
  // the list.
  for (long i = 0; i < count; i++) {
    if (!next(&s)) return fail("fewer commands than its count");
    D3DModelCommand c;
    if (!ParseCommand(s, &c, reason)) {
      *line = number;
      return false;
    }
    commands.push_back(c);
  }
  *out = std::move(commands);
  return true;
}

bool D3D_Model_Load(int id, const char* path, const char* name) {
  Model* m = Get(id);
  if (!m) return false;
  LoadSaveFile* f = LoadSave_fopen(path, "rb");
  if (!f) {
    g_Console.Output("d3d_model_load - unable to read file %s\n", name);
    return false;
  }
  std::vector<D3DModelCommand> commands;
  int line = 0;
  std::string reason;
  bool ok = D3D_Model_ParseText(reinterpret_cast<const char*>(f->data), size_t(f->size), &commands, &line, &reason);
  LoadSave_fclose(f);
  if (!ok) {
    g_Console.Output("d3d_model_load - %s line %d: %s\n", name, line, reason.c_str());
    return false;
  }
  m->commands = std::move(commands);
  m->built = false;
  return true;
}

bool D3D_Model_Save(int id, const char* name) {
  Model* m = Get(id);
  if (!m) return false;
  std::string text = D3D_Model_ToText(m->commands);
  if (LoadSave_WriteFile(name, text.data(), int64_t(text.size()))) return true;
  g_Console.Output("d3d_model_save - unable to write file %s\n", name);
  return false;
}
