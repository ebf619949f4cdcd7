// The render device over OpenGL 3.3 core. Everything is drawn into an
// offscreen back buffer whose memory row 0 is the top of the image, as a
// Direct3D surface has it; textures and surfaces share that layout, so only
// the present flips.
#include <SDL2/SDL.h>

#include <algorithm>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Linux/GR_GL.h"
#include "Graphics_API/Window_Main.h"

GraphicsFrameCounters Graphics_FrameCounters;
int64_t Graphics_PresentTime = 0;

namespace {

// Each program is built for one combination of the states that change what
// a pixel costs (see ProgramKey), so that no pixel tests a setting: the
// header defines SHADE (smooth or flat), TEXTURES (0, or how many pages the
// batch samples: 1, 2, 4 or 8), MODULATE, ALPHA_FUNC (0 no test, else the
// compare function), FOG and LIGHTING.

// Positions go through world, view and projection; lighting works in world
// space, fog on the eye-space depth.
const char* kVertexShader = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aUV;
layout(location = 3) in vec3 aNormal;
uniform mat4 uWorld;
uniform mat4 uView;
uniform mat4 uProjection;
SHADE out vec4 vColour;
out vec2 vUV;
#if TEXTURES > 1
layout(location = 4) in uint aPage;
flat out uint vPage;
#endif
#if LIGHTING
uniform vec3 uAmbient;
uniform int uLightKind[8];
uniform vec3 uLightVec[8];
uniform vec3 uLightColour[8];
uniform float uLightRange[8];
#endif
#if FOG
uniform float uFogStart;
uniform float uFogEnd;
out float vFog;
#endif
void main() {
  vec4 world = uWorld * vec4(aPos, 1.0);
  vec4 eye = uView * world;
  gl_Position = uProjection * eye;
  vColour = aColour;
#if LIGHTING
  vec3 n = mat3(uWorld) * aNormal;
  float len = length(n);
  n = len > 0.0 ? n / len : vec3(0.0);
  vec3 light = uAmbient;
  for (int i = 0; i < 8; i++) {
    if (uLightKind[i] == 1) {
      light += uLightColour[i] * max(0.0, dot(n, -uLightVec[i]));
    } else if (uLightKind[i] == 2) {
      vec3 d = uLightVec[i] - world.xyz;
      float dist = length(d);
      if (dist < uLightRange[i]) {
        vec3 l = dist > 0.0 ? d / dist : vec3(0.0);
        light += uLightColour[i] * max(0.0, dot(n, l)) * (1.0 - dist / uLightRange[i]);
      }
    }
  }
  vColour = vec4(aColour.rgb * min(light, vec3(1.0)), aColour.a);
#endif
#if FOG
  float z = eye.z;
  if (uFogEnd > uFogStart) vFog = clamp((z - uFogStart) / (uFogEnd - uFogStart), 0.0, 1.0);
  else vFog = z >= uFogStart ? 1.0 : 0.0;
#endif
#if TEXTURES > 1
  vPage = aPage;
#endif
  vUV = aUV;
}
)";

// Texture stage: modulate (texture times vertex colour) or the texture's
// colour with the vertex alpha; then the alpha test by its compare function;
// then the fog. Pages past the first are sampled with the gradients taken
// before the choice, as a neighbouring pixel may sample another page.
const char* kFragmentShader = R"(
SHADE in vec4 vColour;
in vec2 vUV;
out vec4 oColour;
#if TEXTURES > 0
uniform sampler2D uTexture[TEXTURES];
#endif
#if TEXTURES > 1
flat in uint vPage;
vec4 Sample() {
  vec2 dx = dFdx(vUV), dy = dFdy(vUV);
  if (vPage == 0u) return textureGrad(uTexture[0], vUV, dx, dy);
#if TEXTURES > 2
  if (vPage == 2u) return textureGrad(uTexture[2], vUV, dx, dy);
  if (vPage == 3u) return textureGrad(uTexture[3], vUV, dx, dy);
#endif
#if TEXTURES > 4
  if (vPage == 4u) return textureGrad(uTexture[4], vUV, dx, dy);
  if (vPage == 5u) return textureGrad(uTexture[5], vUV, dx, dy);
  if (vPage == 6u) return textureGrad(uTexture[6], vUV, dx, dy);
  if (vPage == 7u) return textureGrad(uTexture[7], vUV, dx, dy);
#endif
  return textureGrad(uTexture[1], vUV, dx, dy);
}
#elif TEXTURES == 1
vec4 Sample() { return texture(uTexture[0], vUV); }
#endif
#if ALPHA_FUNC
uniform float uAlphaRef;
#endif
#if FOG
uniform vec3 uFogColour;
in float vFog;
#endif
void main() {
  vec4 c = vColour;
#if TEXTURES > 0
  vec4 t = Sample();
#if MODULATE
  c = t * vColour;
#else
  c = vec4(t.rgb, t.a * vColour.a);
#endif
#endif
#if ALPHA_FUNC
  float a = floor(c.a * 255.0 + 0.5);
#if ALPHA_FUNC == 1
  discard;
#elif ALPHA_FUNC == 2
  if (!(a < uAlphaRef)) discard;
#elif ALPHA_FUNC == 3
  if (!(a == uAlphaRef)) discard;
#elif ALPHA_FUNC == 4
  if (!(a <= uAlphaRef)) discard;
#elif ALPHA_FUNC == 5
  if (!(a > uAlphaRef)) discard;
#elif ALPHA_FUNC == 6
  if (!(a != uAlphaRef)) discard;
#elif ALPHA_FUNC == 7
  if (!(a >= uAlphaRef)) discard;
#endif
#endif
#if FOG
  oColour = vec4(mix(c.rgb, uFogColour, vFog), c.a);
#else
  oColour = c;
#endif
}
)";

struct RenderTarget {
  uint32_t framebuffer;
  int width, height;
};

// A program's uniforms keep their values while other programs draw: each
// remembers which version of the matrices, lights, fog and alpha reference
// it was given last.
struct Program {
  uint32_t id = 0;
  int uWorld = -1, uView = -1, uProjection = -1;
  int uAlphaRef = -1;
  int uAmbient = -1, uLightKind = -1, uLightVec = -1, uLightColour = -1, uLightRange = -1;
  int uFogStart = -1, uFogEnd = -1, uFogColour = -1;
  uint64_t matrices = 0, lights = 0, fog = 0, alphaRef = 0;
};

// The states a program is built for, as bits of its key.
enum : uint32_t {
  KEY_FLAT = 1u << 0,
  KEY_MODULATE = 1u << 1,
  KEY_FOG = 1u << 2,
  KEY_LIGHTING = 1u << 3,
  KEY_ALPHA_SHIFT = 4,     // 3 bits: 0 no test, else the compare function
  KEY_TEXTURES_SHIFT = 7,  // 4 bits: 0, 1, 2, 4 or 8 pages
};

// A surface's depth buffer, made the first time it is drawn to with depth testing.
struct DepthBuffer {
  uint32_t framebuffer, renderbuffer;
};

struct Device {
  SDL_GLContext context = nullptr;
  bool ready = false;
  bool clipControl = false;
  // Programs by key, made when first drawn with; a key whose program will
  // not build is kept as a failure.
  std::unordered_map<uint32_t, Program> programs;
  Program* program = nullptr;
  uint32_t programKey = ~0u;
  uint32_t vao = 0, vao3D = 0, vbo = 0, pageVbo = 0;
  int boundVertexSize = VERTEX_SIZE_2D;
  bool pagesEnabled[2] = {};  // the page attribute of the 2D and 3D formats
  uint32_t samplers[4] = {};  // bit 0 linear, bit 1 wrap
  // The back buffer.
  uint32_t backFramebuffer = 0, backTexture = 0, backDepth = 0;
  int backWidth = 0, backHeight = 0;
  // Targets pushed over the back buffer.
  std::vector<RenderTarget> targets;
  std::vector<DepthBuffer> depthBuffers;
  uint32_t readFramebuffer = 0;
  // State.
  uint32_t states[RS_COUNT] = {};
  Matrix transforms[3];
  int viewport[4] = {0, 0, 0, 0};
  // The guard band (see UseClipScale): the widening of x and y the current
  // viewport allows, the one in use, and the limits of a GL viewport.
  int guard[2] = {1, 1};
  int clipScale[2] = {1, 1};
  int maxViewport[2] = {0, 0};
  float viewportBounds[2] = {0, 0};
  bool guardBand = true;
  bool linear = false, repeat = false, modulate = true;
  int boundTextures[BATCH_MAX_PAGES];  // texture ids by unit; -2: nothing bound yet this frame
  // Lighting and fog.
  DeviceLight lights[LIGHT_COUNT];
  uint32_t ambient = 0;
  uint32_t fogColour = 0;
  float fogStart = 0, fogEnd = 0;
  // Versions of the uniform values, moved by each change (see Program).
  uint64_t matrices = 1, lightsVersion = 1, fogVersion = 1, alphaRefVersion = 1;

  Device() { UnbindTextures(); }
  void UnbindTextures() {
    for (int& t : boundTextures) t = -2;
  }
};

Device g_Device;

uint32_t BlendFactor(uint32_t d3d) {
  static const uint32_t table[] = {GL_ZERO, GL_ZERO, GL_ONE, GL_SRC_COLOR,
                                   GL_ONE_MINUS_SRC_COLOR, GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA,
                                   GL_DST_ALPHA, GL_ONE_MINUS_DST_ALPHA, GL_DST_COLOR,
                                   GL_ONE_MINUS_DST_COLOR, GL_SRC_ALPHA_SATURATE};
  return d3d < sizeof(table) / sizeof(table[0]) ? table[d3d] : GL_ONE;
}

uint32_t CompareFunc(uint32_t d3d) {
  static const uint32_t table[] = {GL_ALWAYS, GL_NEVER, GL_LESS, GL_EQUAL, GL_LEQUAL,
                                   GL_GREATER, GL_NOTEQUAL, GL_GEQUAL, GL_ALWAYS};
  return d3d < sizeof(table) / sizeof(table[0]) ? table[d3d] : GL_ALWAYS;
}

uint32_t PrimitiveMode(int kind) {
  switch (kind) {
    case PR_POINTLIST: return GL_POINTS;
    case PR_LINELIST: return GL_LINES;
    case PR_LINESTRIP: return GL_LINE_STRIP;
    case PR_TRIANGLESTRIP: return GL_TRIANGLE_STRIP;
    case PR_TRIANGLEFAN: return GL_TRIANGLE_FAN;
    default: return GL_TRIANGLES;
  }
}


// The one place where the cached render states become OpenGL state.
void ApplyState(int index) {
  uint32_t v = g_Device.states[index];
  switch (index) {
    case RS_ZENABLE: v ? gl.Enable(GL_DEPTH_TEST) : gl.Disable(GL_DEPTH_TEST); break;
    case RS_ZWRITEENABLE: gl.DepthMask(v ? GL_TRUE : GL_FALSE); break;
    case RS_ZFUNC: gl.DepthFunc(CompareFunc(v)); break;
    case RS_SRCBLEND:
    case RS_DESTBLEND:
      gl.BlendFunc(BlendFactor(g_Device.states[RS_SRCBLEND]), BlendFactor(g_Device.states[RS_DESTBLEND]));
      break;
    case RS_BLENDOP: {
      static const uint32_t ops[] = {GL_FUNC_ADD, GL_FUNC_ADD, GL_FUNC_SUBTRACT,
                                     GL_FUNC_REVERSE_SUBTRACT, GL_MIN, GL_MAX};
      gl.BlendEquation(v < 6 ? ops[v] : GL_FUNC_ADD);
      break;
    }
    case RS_ALPHABLENDENABLE: v ? gl.Enable(GL_BLEND) : gl.Disable(GL_BLEND); break;
    case RS_CULLMODE:
      // Direct3D culls clockwise (2) or counter-clockwise (3) faces as seen
      // on screen. OpenGL sees the image's top row as y = 0 with y going up,
      // so a face clockwise on screen is counter-clockwise to it.
      if (v == 2 || v == 3) {
        gl.Enable(GL_CULL_FACE);
        gl.FrontFace(v == 2 ? GL_CCW : GL_CW);
        gl.CullFace(GL_FRONT);
      } else {
        gl.Disable(GL_CULL_FACE);
      }
      break;
    case RS_COLORWRITE: gl.ColorMask(v & 1, (v >> 1) & 1, (v >> 2) & 1, (v >> 3) & 1); break;
    case RS_SCISSORTEST:
      // A widened viewport needs the scissor to keep pixels inside the real one.
      v || g_Device.clipScale[0] > 1 || g_Device.clipScale[1] > 1 ? gl.Enable(GL_SCISSOR_TEST)
                                                                  : gl.Disable(GL_SCISSOR_TEST);
      break;
    // These choose the program at the next draw.
    case RS_ALPHAREF: g_Device.alphaRefVersion++; break;
    case RS_SHADEMODE:
    case RS_LIGHTING:
    case RS_FOGENABLE:
    case RS_ALPHATESTENABLE:
    case RS_ALPHAFUNC: break;
  }
}

void ClearErrors() {
  while (gl.GetError() != GL_NO_ERROR) {
  }
}

void BindFramebuffer() {
  uint32_t fb = g_Device.targets.empty() ? g_Device.backFramebuffer : g_Device.targets.back().framebuffer;
  gl.BindFramebuffer(GL_FRAMEBUFFER, fb);
}

// Our row-vector matrices read column by column are the transposes that
// OpenGL's column vectors need.
void UploadMatrix(Program* p) {
  gl.UniformMatrix4fv(p->uWorld, 1, GL_FALSE, &g_Device.transforms[TRANSFORM_WORLD].m[0][0]);
  gl.UniformMatrix4fv(p->uView, 1, GL_FALSE, &g_Device.transforms[TRANSFORM_VIEW].m[0][0]);
  // Direct3D's clip y points up the image, whose top is memory row 0 here;
  // without clip control, depth 0..1 is also widened to OpenGL's -1..1.
  // x and y shrink by the guard band's widening, if one is in use.
  Matrix fix = Matrix_Scaling(1.0f / float(g_Device.clipScale[0]), -1.0f / float(g_Device.clipScale[1]),
                              g_Device.clipControl ? 1 : 2);
  if (!g_Device.clipControl) fix.m[3][2] = -1;
  Matrix m = Matrix_Multiply(g_Device.transforms[TRANSFORM_PROJECTION], fix);
  gl.UniformMatrix4fv(p->uProjection, 1, GL_FALSE, &m.m[0][0]);
}

void Rgb(uint32_t argb, float* out) {
  out[0] = float((argb >> 16) & 255) / 255.0f;
  out[1] = float((argb >> 8) & 255) / 255.0f;
  out[2] = float(argb & 255) / 255.0f;
}

void UploadLights(const Program* p) {
  int kinds[LIGHT_COUNT];
  float vecs[LIGHT_COUNT * 3], colours[LIGHT_COUNT * 3], ranges[LIGHT_COUNT], ambient[3];
  for (int i = 0; i < LIGHT_COUNT; i++) {
    const DeviceLight& l = g_Device.lights[i];
    kinds[i] = l.enabled ? l.kind : LIGHT_NONE;
    vecs[3 * i] = l.x;
    vecs[3 * i + 1] = l.y;
    vecs[3 * i + 2] = l.z;
    Rgb(l.colour, colours + 3 * i);
    ranges[i] = l.range;
  }
  Rgb(g_Device.ambient, ambient);
  gl.Uniform1iv(p->uLightKind, LIGHT_COUNT, kinds);
  gl.Uniform3fv(p->uLightVec, LIGHT_COUNT, vecs);
  gl.Uniform3fv(p->uLightColour, LIGHT_COUNT, colours);
  gl.Uniform1fv(p->uLightRange, LIGHT_COUNT, ranges);
  gl.Uniform3fv(p->uAmbient, 1, ambient);
}

void UploadFog(const Program* p) {
  float colour[3];
  Rgb(g_Device.fogColour, colour);
  gl.Uniform3fv(p->uFogColour, 1, colour);
  gl.Uniform1f(p->uFogStart, g_Device.fogStart);
  gl.Uniform1f(p->uFogEnd, g_Device.fogEnd);
}

uint32_t CompileShader(uint32_t kind, const char* header, const char* body) {
  uint32_t s = gl.CreateShader(kind);
  const char* parts[2] = {header, body};
  gl.ShaderSource(s, 2, parts, nullptr);
  gl.CompileShader(s);
  int ok = 0;
  gl.GetShaderiv(s, GL_COMPILE_STATUS, &ok);
  if (!ok) {
    char log[1024];
    gl.GetShaderInfoLog(s, sizeof log, nullptr, log);
    g_Console.Output("Shader compile failed: %s\n", log);
    gl.DeleteShader(s);
    return 0;
  }
  return s;
}

bool MakeProgram(uint32_t key, Program* out) {
  char header[256];
  snprintf(header, sizeof header,
           "#version 330 core\n#define SHADE %s\n#define TEXTURES %u\n#define MODULATE %u\n"
           "#define ALPHA_FUNC %u\n#define FOG %u\n#define LIGHTING %u\n",
           key & KEY_FLAT ? "flat" : "smooth", (key >> KEY_TEXTURES_SHIFT) & 15, key & KEY_MODULATE ? 1u : 0u,
           (key >> KEY_ALPHA_SHIFT) & 7, key & KEY_FOG ? 1u : 0u, key & KEY_LIGHTING ? 1u : 0u);
  uint32_t vs = CompileShader(GL_VERTEX_SHADER, header, kVertexShader);
  uint32_t fs = CompileShader(GL_FRAGMENT_SHADER, header, kFragmentShader);
  uint32_t p = vs && fs ? gl.CreateProgram() : 0;
  if (p) {
    gl.AttachShader(p, vs);
    gl.AttachShader(p, fs);
    gl.LinkProgram(p);
  }
  if (vs) gl.DeleteShader(vs);
  if (fs) gl.DeleteShader(fs);
  if (!p) return false;
  int ok = 0;
  gl.GetProgramiv(p, GL_LINK_STATUS, &ok);
  if (!ok) {
    char log[1024];
    gl.GetProgramInfoLog(p, sizeof log, nullptr, log);
    g_Console.Output("Shader link failed: %s\n", log);
    gl.DeleteProgram(p);
    return false;
  }
  out->id = p;
  const struct {
    int* location;
    const char* name;
  } uniforms[] = {{&out->uWorld, "uWorld"}, {&out->uView, "uView"}, {&out->uProjection, "uProjection"},
                  {&out->uAlphaRef, "uAlphaRef"}, {&out->uAmbient, "uAmbient"},
                  {&out->uLightKind, "uLightKind"}, {&out->uLightVec, "uLightVec"},
                  {&out->uLightColour, "uLightColour"}, {&out->uLightRange, "uLightRange"},
                  {&out->uFogStart, "uFogStart"}, {&out->uFogEnd, "uFogEnd"}, {&out->uFogColour, "uFogColour"}};
  for (const auto& u : uniforms) *u.location = gl.GetUniformLocation(p, u.name);
  gl.UseProgram(p);
  for (int i = 0; i < BATCH_MAX_PAGES; i++) {
    std::string name = "uTexture[" + std::to_string(i) + "]";
    int at = gl.GetUniformLocation(p, name.c_str());
    if (at >= 0) gl.Uniform1i(at, i);
  }
  return true;
}

// The key of the program that draws with the current states and that many
// texture pages.
uint32_t ProgramKey(int pages) {
  const uint32_t* s = g_Device.states;
  uint32_t textures = pages <= 0 ? 0 : pages == 1 ? 1 : pages == 2 ? 2 : pages <= 4 ? 4 : 8;
  uint32_t alpha = s[RS_ALPHATESTENABLE] && s[RS_ALPHAFUNC] >= CMP_NEVER && s[RS_ALPHAFUNC] < CMP_ALWAYS
                       ? s[RS_ALPHAFUNC] : 0;
  uint32_t key = textures << KEY_TEXTURES_SHIFT | alpha << KEY_ALPHA_SHIFT;
  if (s[RS_SHADEMODE] == 1) key |= KEY_FLAT;
  if (textures && g_Device.modulate) key |= KEY_MODULATE;
  if (s[RS_FOGENABLE]) key |= KEY_FOG;
  if (s[RS_LIGHTING]) key |= KEY_LIGHTING;
  return key;
}

// The program of a key, built when first asked for. Should a flat one fail
// to build, shading stays Gouraud; null when the Gouraud one fails too.
Program* FindProgram(uint32_t key) {
  auto [it, fresh] = g_Device.programs.try_emplace(key);
  if (fresh && !MakeProgram(key, &it->second)) g_Console.Output("Could not build the shader for state %u\n", key);
  if (it->second.id) return &it->second;
  return key & KEY_FLAT ? FindProgram(key & ~KEY_FLAT) : nullptr;
}

// Makes the program for the current states current, with the uniform
// values it needs brought up to date.
bool UseProgram(int pages) {
  uint32_t key = ProgramKey(pages);
  if (key != g_Device.programKey) {
    Program* p = FindProgram(key);
    if (!p) return false;
    if (p != g_Device.program) gl.UseProgram(p->id);
    g_Device.program = p;
    g_Device.programKey = key;
  }
  Program* p = g_Device.program;
  if (p->matrices != g_Device.matrices) UploadMatrix(p), p->matrices = g_Device.matrices;
  if (p->uLightKind >= 0 && p->lights != g_Device.lightsVersion) UploadLights(p), p->lights = g_Device.lightsVersion;
  if (p->uFogColour >= 0 && p->fog != g_Device.fogVersion) UploadFog(p), p->fog = g_Device.fogVersion;
  if (p->uAlphaRef >= 0 && p->alphaRef != g_Device.alphaRefVersion) {
    gl.Uniform1f(p->uAlphaRef, float(g_Device.states[RS_ALPHAREF] & 255));
    p->alphaRef = g_Device.alphaRefVersion;
  }
  return true;
}

bool MakeBackBuffer(int w, int h) {
  if (w < 1) w = 1;
  if (h < 1) h = 1;
  if (g_Device.backFramebuffer) Device_Texture_Free(g_Device.backTexture, g_Device.backFramebuffer);
  if (g_Device.backDepth) gl.DeleteRenderbuffers(1, &g_Device.backDepth);
  if (!Device_Texture_Create(w, h, nullptr, true, &g_Device.backTexture, &g_Device.backFramebuffer))
    return false;
  gl.GenRenderbuffers(1, &g_Device.backDepth);
  gl.BindRenderbuffer(GL_RENDERBUFFER, g_Device.backDepth);
  gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, w, h);
  gl.BindFramebuffer(GL_FRAMEBUFFER, g_Device.backFramebuffer);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, g_Device.backDepth);
  g_Device.backWidth = w;
  g_Device.backHeight = h;
  BindFramebuffer();
  return true;
}

void SetDefaultStates() {
  uint32_t* s = g_Device.states;
  s[RS_ZENABLE] = 0;
  s[RS_ZWRITEENABLE] = 1;
  s[RS_ALPHATESTENABLE] = 0;
  s[RS_SRCBLEND] = BLEND_SRCALPHA;
  s[RS_DESTBLEND] = BLEND_INVSRCALPHA;
  s[RS_CULLMODE] = 1;
  s[RS_ZFUNC] = CMP_LESSEQUAL;
  s[RS_ALPHAREF] = 0;
  s[RS_ALPHAFUNC] = CMP_ALWAYS;
  s[RS_COLORWRITE] = 15;
  s[RS_BLENDOP] = 1;
  s[RS_SCISSORTEST] = 0;
  s[RS_ALPHABLENDENABLE] = 1;
  s[RS_SHADEMODE] = 2;
  s[RS_LIGHTING] = 0;
  s[RS_FOGENABLE] = 0;
  for (int i = 0; i < RS_COUNT; i++) ApplyState(i);
  for (int i = 0; i < 3; i++) g_Device.transforms[i] = Matrix_Identity();
  g_Device.matrices++;
}

}  // namespace

bool Device_Texture_Create(int w, int h, const uint32_t* argb, bool target, uint32_t* texture,
                           uint32_t* framebuffer) {
  if (!g_Device.context || w < 1 || h < 1 || w > 16384 || h > 16384) return false;
  Batch_Flush();
  ClearErrors();
  uint32_t t = 0;
  gl.GenTextures(1, &t);
  gl.BindTexture(GL_TEXTURE_2D, t);
  gl.PixelStorei(GL_UNPACK_ALIGNMENT, 4);
  std::vector<uint32_t> clear;
  if (!argb) clear.assign(size_t(w) * size_t(h), 0);
  gl.TexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, w, h, 0, GL_BGRA, GL_UNSIGNED_BYTE,
                argb ? argb : clear.data());
  gl.TexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
  g_Device.UnbindTextures();
  *texture = t;
  *framebuffer = 0;
  if (target) {
    uint32_t fb = 0;
    gl.GenFramebuffers(1, &fb);
    gl.BindFramebuffer(GL_FRAMEBUFFER, fb);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t, 0);
    bool complete = gl.CheckFramebufferStatus(GL_FRAMEBUFFER) == GL_FRAMEBUFFER_COMPLETE;
    BindFramebuffer();
    if (!complete) {
      gl.DeleteFramebuffers(1, &fb);
      gl.DeleteTextures(1, &t);
      return false;
    }
    *framebuffer = fb;
  }
  if (gl.GetError() == GL_NO_ERROR) return true;
  Device_Texture_Free(*texture, *framebuffer);
  return false;
}

void Device_Texture_Free(uint32_t texture, uint32_t framebuffer) {
  if (!g_Device.context) return;
  Batch_Flush();
  std::vector<DepthBuffer>& depths = g_Device.depthBuffers;
  for (size_t i = 0; i < depths.size(); i++)
    if (framebuffer && depths[i].framebuffer == framebuffer) {
      gl.DeleteRenderbuffers(1, &depths[i].renderbuffer);
      depths.erase(depths.begin() + std::ptrdiff_t(i));
      break;
    }
  if (framebuffer) gl.DeleteFramebuffers(1, &framebuffer);
  if (texture) gl.DeleteTextures(1, &texture);
  g_Device.UnbindTextures();
}

void Device_Texture_Update(uint32_t texture, int x, int y, int w, int h, const uint32_t* argb) {
  if (!g_Device.context) return;
  Batch_Flush();
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, argb);
  g_Device.UnbindTextures();
}

namespace {

// Gives the current surface target a depth buffer of its size, cleared to
// the far plane, when it has none yet.
void EnsureTargetDepth() {
  if (g_Device.targets.empty()) return;
  const RenderTarget& t = g_Device.targets.back();
  for (const DepthBuffer& d : g_Device.depthBuffers)
    if (d.framebuffer == t.framebuffer) return;
  uint32_t rb = 0;
  gl.GenRenderbuffers(1, &rb);
  gl.BindRenderbuffer(GL_RENDERBUFFER, rb);
  gl.RenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT24, t.width, t.height);
  gl.FramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER, rb);
  g_Device.depthBuffers.push_back({t.framebuffer, rb});
  gl.Disable(GL_SCISSOR_TEST);
  gl.DepthMask(GL_TRUE);
  gl.ClearDepth(1.0);
  gl.Clear(GL_DEPTH_BUFFER_BIT);
  ApplyState(RS_SCISSORTEST);
  ApplyState(RS_ZWRITEENABLE);
}

// Triangles reaching past the viewport's edge would have the software
// renderer clip the whole run of vertices they are drawn in on the CPU, which
// cost a third of the main thread's frame with sprites at the room's edges.
// Triangles are drawn instead through a viewport up to four times as wide
// and high about the same centre, with clip-space x and y shrunk to match,
// and the scissor keeps their pixels inside the real viewport, as the guard
// band of Direct3D hardware does. The factors are powers of two, so every
// vertex lands on the same window position to the bit, and a flat-coloured
// sprite gives the same pixels; a gradient cut by the edge may differ by a
// level, as clipping no longer rounds the colours of new corners. Points and
// lines keep the real viewport, their end pixels being decided where they
// are clipped.
void UseClipScale(int sx, int sy) {
  int* c = g_Device.clipScale;
  if (c[0] == sx && c[1] == sy) return;
  c[0] = sx, c[1] = sy;
  const int* v = g_Device.viewport;
  gl.Viewport(v[0] - v[2] * (sx - 1) / 2, v[1] - v[3] * (sy - 1) / 2, v[2] * sx, v[3] * sy);
  ApplyState(RS_SCISSORTEST);
  g_Device.matrices++;
}

// The widening of one axis of the viewport (origin o, size n): the centre
// must stay on a whole pixel and the viewport within the GL limits.
int GuardFactor(int o, int n, int maxSize) {
  for (int f = g_Device.guardBand ? 4 : 1; f > 1; f /= 2) {
    int64_t start = int64_t(o) - int64_t(n) * (f - 1) / 2, size = int64_t(n) * f;
    if (n % 2 == 0 && size <= maxSize && start >= g_Device.viewportBounds[0] &&
        start + size <= g_Device.viewportBounds[1])
      return f;
  }
  return 1;
}

void BindVertexFormat(int vertexSize, bool pages) {
  if (vertexSize != g_Device.boundVertexSize) {
    gl.BindVertexArray(vertexSize == VERTEX_SIZE_3D ? g_Device.vao3D : g_Device.vao);
    g_Device.boundVertexSize = vertexSize;
  }
  bool& enabled = g_Device.pagesEnabled[vertexSize == VERTEX_SIZE_3D];
  if (pages == enabled) return;
  pages ? gl.EnableVertexAttribArray(4) : gl.DisableVertexAttribArray(4);
  enabled = pages;
}

// Binds the textures to units 0, 1, ... with the sampler of the current
// settings; units already holding theirs are left alone.
void BindTextures(const int* textures, int count) {
  uint32_t sampler = g_Device.samplers[(g_Device.linear ? 1 : 0) | (g_Device.repeat ? 2 : 0)];
  for (int unit = 0; unit < count; unit++) {
    if (textures[unit] != g_Device.boundTextures[unit]) {
      const GRTexture* tex = GR_Texture_Get(textures[unit]);
      gl.ActiveTexture(GL_TEXTURE0 + unit);
      gl.BindTexture(GL_TEXTURE_2D, tex ? tex->glTexture : 0);
      g_Device.boundTextures[unit] = textures[unit];
      Graphics_FrameCounters.textureSwaps++;
    }
    gl.BindSampler(unit, sampler);
  }
  gl.ActiveTexture(GL_TEXTURE0);
}

}  // namespace

void Device_Draw(int primType, const int* textures, int textureCount, const uint8_t* pages, const void* verts,
                 int vertexSize, int count) {
  if (!g_Device.ready || count <= 0 || (vertexSize != VERTEX_SIZE_2D && vertexSize != VERTEX_SIZE_3D)) return;
  textureCount = std::clamp(textureCount, 0, BATCH_MAX_PAGES);
  bool triangles = primType >= PR_TRIANGLELIST;
  UseClipScale(triangles ? g_Device.guard[0] : 1, triangles ? g_Device.guard[1] : 1);
  if (!UseProgram(textureCount)) return;
  if (g_Device.states[RS_ZENABLE]) EnsureTargetDepth();
  BindVertexFormat(vertexSize, textureCount > 1);
  BindTextures(textures, textureCount);
  // A fresh store each draw lets the driver keep the previous one in flight.
  if (textureCount > 1) {
    gl.BindBuffer(GL_ARRAY_BUFFER, g_Device.pageVbo);
    gl.BufferData(GL_ARRAY_BUFFER, size_t(count), pages, GL_STREAM_DRAW);
    gl.BindBuffer(GL_ARRAY_BUFFER, g_Device.vbo);
  }
  gl.BufferData(GL_ARRAY_BUFFER, size_t(count) * size_t(vertexSize), verts, GL_STREAM_DRAW);
  gl.DrawArrays(PrimitiveMode(primType), 0, count);
  Graphics_FrameCounters.batches++;
}

bool GR_D3D_Init() {
  SDL_Window* window = Window_Handle();
  if (!window) return false;
  if (g_Device.context) return true;
  g_Device.context = SDL_GL_CreateContext(window);
  if (!g_Device.context) {
    g_Console.Output("Could not create the OpenGL context: %s\n", SDL_GetError());
    return false;
  }
  SDL_GL_MakeCurrent(window, g_Device.context);
  if (!GRGL_Load()) {
    GR_D3D_Shutdown();
    return false;
  }
  int major = 0, minor = 0;
  const char* version = reinterpret_cast<const char*>(gl.GetString(GL_VERSION));
  if (version) sscanf(version, "%d.%d", &major, &minor);
  g_Console.Output("OpenGL %s on %s\n", version ? version : "?",
                   reinterpret_cast<const char*>(gl.GetString(GL_RENDERER)));
  g_Device.clipControl = gl.ClipControl && (major > 4 || (major == 4 && minor >= 5));
  if (g_Device.clipControl) gl.ClipControl(GL_LOWER_LEFT, GL_ZERO_TO_ONE);
  SDL_GL_SetSwapInterval(0);
  gl.GetIntegerv(GL_MAX_VIEWPORT_DIMS, g_Device.maxViewport);
  // Without the bounds of GL 4.1, a viewport may reach as far out as it is wide.
  g_Device.viewportBounds[0] = -float(g_Device.maxViewport[0]);
  g_Device.viewportBounds[1] = float(g_Device.maxViewport[0]);
  if (major > 4 || (major == 4 && minor >= 1)) gl.GetFloatv(GL_VIEWPORT_BOUNDS_RANGE, g_Device.viewportBounds);
  // The programs of untextured and of textured drawing with the first
  // states; a device that cannot build them cannot draw.
  g_Device.states[RS_SHADEMODE] = 2;
  if (!FindProgram(ProgramKey(0)) || !FindProgram(ProgramKey(1))) {
    GR_D3D_Shutdown();
    return false;
  }
  gl.GenVertexArrays(1, &g_Device.vao);
  gl.BindVertexArray(g_Device.vao);
  gl.GenBuffers(1, &g_Device.pageVbo);
  gl.GenBuffers(1, &g_Device.vbo);
  // Each format reads a vertex's page from a buffer of its own, one byte a
  // vertex; the attribute is on only for batches of several pages.
  auto pageAttribute = [] {
    gl.BindBuffer(GL_ARRAY_BUFFER, g_Device.pageVbo);
    gl.VertexAttribIPointer(4, 1, GL_UNSIGNED_BYTE, 1, nullptr);
    gl.BindBuffer(GL_ARRAY_BUFFER, g_Device.vbo);
  };
  pageAttribute();
  gl.EnableVertexAttribArray(0);
  gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SVertex), reinterpret_cast<void*>(0));
  gl.EnableVertexAttribArray(1);
  gl.VertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SVertex), reinterpret_cast<void*>(12));
  gl.EnableVertexAttribArray(2);
  gl.VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SVertex), reinterpret_cast<void*>(16));
  // The 3D format reads the same buffer; the 2D one leaves the normal at its
  // default (0, 0, 0).
  gl.GenVertexArrays(1, &g_Device.vao3D);
  gl.BindVertexArray(g_Device.vao3D);
  pageAttribute();
  const GLsizei stride3D = sizeof(SVertex3D);
  gl.EnableVertexAttribArray(0);
  gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride3D, reinterpret_cast<void*>(offsetof(SVertex3D, x)));
  gl.EnableVertexAttribArray(3);
  gl.VertexAttribPointer(3, 3, GL_FLOAT, GL_FALSE, stride3D, reinterpret_cast<void*>(offsetof(SVertex3D, nx)));
  gl.EnableVertexAttribArray(1);
  gl.VertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, stride3D,
                         reinterpret_cast<void*>(offsetof(SVertex3D, colour)));
  gl.EnableVertexAttribArray(2);
  gl.VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride3D, reinterpret_cast<void*>(offsetof(SVertex3D, u)));
  gl.BindVertexArray(g_Device.vao);
  g_Device.boundVertexSize = VERTEX_SIZE_2D;
  gl.ProvokingVertex(GL_FIRST_VERTEX_CONVENTION);
  gl.GenSamplers(4, g_Device.samplers);
  for (int i = 0; i < 4; i++) {
    uint32_t filter = (i & 1) ? GL_LINEAR : GL_NEAREST;
    uint32_t wrap = (i & 2) ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    gl.SamplerParameteri(g_Device.samplers[i], GL_TEXTURE_MIN_FILTER, filter);
    gl.SamplerParameteri(g_Device.samplers[i], GL_TEXTURE_MAG_FILTER, filter);
    gl.SamplerParameteri(g_Device.samplers[i], GL_TEXTURE_WRAP_S, wrap);
    gl.SamplerParameteri(g_Device.samplers[i], GL_TEXTURE_WRAP_T, wrap);
  }
  gl.ActiveTexture(GL_TEXTURE0);
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(window, &w, &h);
  if (!MakeBackBuffer(w, h)) {
    g_Console.Output("Could not create the back buffer\n");
    GR_D3D_Shutdown();
    return false;
  }
  SetDefaultStates();
  Graphics_SetViewPort(0, 0, g_Device.backWidth, g_Device.backHeight);
  g_Device.ready = true;
  return true;
}

void GR_D3D_Shutdown() {
  if (!g_Device.context) return;
  g_Device.ready = false;
  GR_Texture_FreeAll();
  if (g_Device.backFramebuffer) Device_Texture_Free(g_Device.backTexture, g_Device.backFramebuffer);
  if (g_Device.backDepth) gl.DeleteRenderbuffers(1, &g_Device.backDepth);
  if (g_Device.readFramebuffer) gl.DeleteFramebuffers(1, &g_Device.readFramebuffer);
  if (g_Device.samplers[0]) gl.DeleteSamplers(4, g_Device.samplers);
  if (g_Device.vbo) gl.DeleteBuffers(1, &g_Device.vbo);
  if (g_Device.pageVbo) gl.DeleteBuffers(1, &g_Device.pageVbo);
  if (g_Device.vao) gl.DeleteVertexArrays(1, &g_Device.vao);
  if (g_Device.vao3D) gl.DeleteVertexArrays(1, &g_Device.vao3D);
  for (DepthBuffer& d : g_Device.depthBuffers) gl.DeleteRenderbuffers(1, &d.renderbuffer);
  for (auto& [key, p] : g_Device.programs)
    if (p.id) gl.DeleteProgram(p.id);
  SDL_GL_DeleteContext(g_Device.context);
  g_Device = Device();
}

bool GR_D3D_IsReady() { return g_Device.ready; }

void GR_D3D_Start_Frame() {
  if (!g_Device.ready) return;
  Graphics_FrameCounters.textureSwaps = 0;
  Graphics_FrameCounters.batches = 0;
  g_Device.UnbindTextures();
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(Window_Handle(), &w, &h);
  if ((w != g_Device.backWidth || h != g_Device.backHeight) && w > 0 && h > 0 && g_Device.targets.empty())
    Graphics_ResizeBackBuffer(w, h);
}

void GR_D3D_Finish_Frame() {
  if (!g_Device.ready) return;
  Batch_Flush();
  uint64_t start = SDL_GetPerformanceCounter();
  int w = 0, h = 0;
  SDL_GL_GetDrawableSize(Window_Handle(), &w, &h);
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, g_Device.backFramebuffer);
  gl.BindFramebuffer(GL_DRAW_FRAMEBUFFER, 0);
  gl.Disable(GL_SCISSOR_TEST);
  // Memory row 0 is the top of the image; the window's row 0 is its bottom.
  gl.BlitFramebuffer(0, 0, g_Device.backWidth, g_Device.backHeight, 0, h, w, 0,
                     GL_COLOR_BUFFER_BIT, GL_NEAREST);
  SDL_GL_SwapWindow(Window_Handle());
  BindFramebuffer();
  ApplyState(RS_SCISSORTEST);
  Graphics_PresentTime = int64_t((SDL_GetPerformanceCounter() - start) * 1000000 / SDL_GetPerformanceFrequency());
}

int GR_Window_GetWidth() { return g_Device.backWidth; }
int GR_Window_GetHeight() { return g_Device.backHeight; }

void Graphics_ResizeBackBuffer(int w, int h) {
  if (!g_Device.context) return;
  Batch_Flush();
  MakeBackBuffer(w, h);
}

void Graphics_SetRenderState(int index, uint32_t value) {
  if (index < 0 || index >= RS_COUNT || g_Device.states[index] == value) return;
  Batch_Flush();
  g_Device.states[index] = value;
  if (g_Device.context) ApplyState(index);
}

uint32_t Graphics_GetRenderState(int index) {
  return index >= 0 && index < RS_COUNT ? g_Device.states[index] : 0;
}

void Graphics_SetLight(int index, const DeviceLight& light) {
  if (index < 0 || index >= LIGHT_COUNT) return;
  Batch_Flush();
  g_Device.lights[index] = light;
  g_Device.lightsVersion++;
}

void Graphics_SetAmbient(uint32_t argb) {
  if (argb == g_Device.ambient) return;
  Batch_Flush();
  g_Device.ambient = argb;
  g_Device.lightsVersion++;
}

void Graphics_SetFog(uint32_t argb, float start, float end) {
  Batch_Flush();
  g_Device.fogColour = argb;
  g_Device.fogStart = start;
  g_Device.fogEnd = end;
  g_Device.fogVersion++;
}

void GR_SetInterpolation(bool linear) {
  if (linear == g_Device.linear) return;
  Batch_Flush();
  g_Device.linear = linear;
}
bool GR_GetInterpolation() { return g_Device.linear; }

void GR_SetRepeat(bool wrap) {
  if (wrap == g_Device.repeat) return;
  Batch_Flush();
  g_Device.repeat = wrap;
}
bool GR_GetRepeat() { return g_Device.repeat; }

void GR_SetTextureBlending(bool modulate) {
  if (modulate == g_Device.modulate) return;
  Batch_Flush();
  g_Device.modulate = modulate;
}

void Graphics_SetTransform(int which, const Matrix& m) {
  if (which < 0 || which > 2) return;
  Batch_Flush();
  g_Device.transforms[which] = m;
  g_Device.matrices++;
}

const Matrix& Graphics_GetTransform(int which) {
  return g_Device.transforms[which < 0 || which > 2 ? 0 : which];
}

void Graphics_SetViewPort(int x, int y, int w, int h) {
  Batch_Flush();
  g_Device.viewport[0] = x;
  g_Device.viewport[1] = y;
  g_Device.viewport[2] = w;
  g_Device.viewport[3] = h;
  if (g_Device.context) {
    g_Device.guard[0] = GuardFactor(x, w, g_Device.maxViewport[0]);
    g_Device.guard[1] = GuardFactor(y, h, g_Device.maxViewport[1]);
    g_Device.clipScale[0] = 0;  // sets the GL viewport afresh
    UseClipScale(1, 1);
    gl.Scissor(x, y, w, h);
  }
}

void Graphics_SetGuardBand(bool on) {
  if (on == g_Device.guardBand) return;
  g_Device.guardBand = on;
  const int* v = g_Device.viewport;
  Graphics_SetViewPort(v[0], v[1], v[2], v[3]);
}

void Graphics_GetViewPort(int* x, int* y, int* w, int* h) {
  *x = g_Device.viewport[0];
  *y = g_Device.viewport[1];
  *w = g_Device.viewport[2];
  *h = g_Device.viewport[3];
}

void Graphics_Clear(uint32_t argb) {
  if (!g_Device.ready) return;
  Batch_Flush();
  // Like Direct3D, a clear covers the viewport only.
  gl.Enable(GL_SCISSOR_TEST);
  gl.ColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
  gl.DepthMask(GL_TRUE);
  gl.ClearColor(((argb >> 16) & 255) / 255.0f, ((argb >> 8) & 255) / 255.0f, (argb & 255) / 255.0f,
                (argb >> 24) / 255.0f);
  gl.ClearDepth(1.0);
  gl.Clear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
  ApplyState(RS_SCISSORTEST);
  ApplyState(RS_COLORWRITE);
  ApplyState(RS_ZWRITEENABLE);
}

bool Graphics_PushRenderTarget(int texture) {
  GRTexture* t = GR_Texture_Get(texture);
  if (!g_Device.ready || !t || !t->glTarget) return false;
  Batch_Flush();
  g_Device.targets.push_back({t->glTarget, t->width, t->height});
  BindFramebuffer();
  return true;
}

bool Graphics_PopRenderTarget() {
  if (g_Device.targets.empty()) return false;
  Batch_Flush();
  g_Device.targets.pop_back();
  BindFramebuffer();
  return true;
}

int Graphics_RenderTargetDepth() { return int(g_Device.targets.size()); }

bool Graphics_ReadPixels(int texture, int x, int y, int w, int h, uint32_t* out) {
  if (!g_Device.ready || w < 1 || h < 1) return false;
  Batch_Flush();
  const GRTexture* t = texture < 0 ? nullptr : GR_Texture_Get(texture);
  if (texture >= 0 && !t) return false;
  int fw = t ? t->width : g_Device.backWidth, fh = t ? t->height : g_Device.backHeight;
  if (x < 0 || y < 0 || int64_t(x) + w > fw || int64_t(y) + h > fh) return false;
  uint32_t fb = t ? t->glTarget : g_Device.backFramebuffer;
  if (!fb) {
    if (!g_Device.readFramebuffer) gl.GenFramebuffers(1, &g_Device.readFramebuffer);
    fb = g_Device.readFramebuffer;
    gl.BindFramebuffer(GL_FRAMEBUFFER, fb);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, t->glTexture, 0);
  }
  ClearErrors();
  gl.BindFramebuffer(GL_READ_FRAMEBUFFER, fb);
  gl.PixelStorei(GL_PACK_ALIGNMENT, 4);
  gl.ReadPixels(x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, out);
  bool ok = gl.GetError() == GL_NO_ERROR;
  if (fb == g_Device.readFramebuffer) {
    // Let go of the texture, which may be freed before the next read.
    gl.BindFramebuffer(GL_FRAMEBUFFER, fb);
    gl.FramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, 0, 0);
  }
  BindFramebuffer();
  return ok;
}
