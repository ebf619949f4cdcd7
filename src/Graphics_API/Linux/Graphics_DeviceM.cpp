// The render device over OpenGL 3.3 core. Everything is drawn into an
// offscreen back buffer whose memory row 0 is the top of the image, as a
// Direct3D surface has it; textures and surfaces share that layout, so only
// the present flips.
#include <SDL2/SDL.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Base/Console.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Graphics_Texture.h"
#include "Graphics_API/Linux/GR_GL.h"
#include "Graphics_API/Window_Main.h"

GraphicsFrameCounters Graphics_FrameCounters;
int64_t Graphics_PresentTime = 0;

namespace {

// Both shaders come in two forms: colours interpolated (Gouraud) or taken
// from the first vertex (flat); the header picks one.
const char* kGouraudHeader = "#version 330 core\n#define SHADE smooth\n";
const char* kFlatHeader = "#version 330 core\n#define SHADE flat\n";

const char* kVertexShader = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec4 aColour;
layout(location = 2) in vec2 aUV;
uniform mat4 uMatrix;
SHADE out vec4 vColour;
out vec2 vUV;
void main() {
  gl_Position = uMatrix * vec4(aPos, 1.0);
  vColour = aColour;
  vUV = aUV;
}
)";

// Texture stage: modulate (texture times vertex colour) or the texture's
// colour with the vertex alpha; then the alpha test by its compare function.
const char* kFragmentShader = R"(
SHADE in vec4 vColour;
in vec2 vUV;
out vec4 oColour;
uniform sampler2D uTexture;
uniform int uTextured;
uniform int uModulate;
uniform int uAlphaFunc;
uniform float uAlphaRef;
void main() {
  vec4 c = vColour;
  if (uTextured != 0) {
    vec4 t = texture(uTexture, vUV);
    c = (uModulate != 0) ? t * vColour : vec4(t.rgb, t.a * vColour.a);
  }
  float a = floor(c.a * 255.0 + 0.5);
  bool pass = true;
  if (uAlphaFunc == 1) pass = false;
  else if (uAlphaFunc == 2) pass = a < uAlphaRef;
  else if (uAlphaFunc == 3) pass = a == uAlphaRef;
  else if (uAlphaFunc == 4) pass = a <= uAlphaRef;
  else if (uAlphaFunc == 5) pass = a > uAlphaRef;
  else if (uAlphaFunc == 6) pass = a != uAlphaRef;
  else if (uAlphaFunc == 7) pass = a >= uAlphaRef;
  if (!pass) discard;
  oColour = c;
}
)";

struct RenderTarget {
  uint32_t framebuffer;
  int width, height;
};

struct Program {
  uint32_t id = 0;
  int uMatrix = -1, uTextured = -1, uModulate = -1, uAlphaFunc = -1, uAlphaRef = -1;
};

struct Device {
  SDL_GLContext context = nullptr;
  bool ready = false;
  bool clipControl = false;
  Program programs[2];  // Gouraud, flat
  Program* program = &programs[0];
  uint32_t vao = 0, vbo = 0;
  uint32_t samplers[4] = {};  // bit 0 linear, bit 1 wrap
  // The back buffer.
  uint32_t backFramebuffer = 0, backTexture = 0, backDepth = 0;
  int backWidth = 0, backHeight = 0;
  // Targets pushed over the back buffer.
  std::vector<RenderTarget> targets;
  uint32_t readFramebuffer = 0;
  // State.
  uint32_t states[RS_COUNT] = {};
  Matrix transforms[3];
  bool matrixDirty = true;
  int viewport[4] = {0, 0, 0, 0};
  bool linear = false, repeat = false, modulate = true;
  int boundTexture = -2;  // -2: nothing bound yet this frame
  size_t vboSize = 0;
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

void UseProgram(Program* p);

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
      // on screen; our y flip reverses the winding OpenGL sees.
      if (v == 2 || v == 3) {
        gl.Enable(GL_CULL_FACE);
        gl.FrontFace(v == 2 ? GL_CW : GL_CCW);
        gl.CullFace(GL_FRONT);
      } else {
        gl.Disable(GL_CULL_FACE);
      }
      break;
    case RS_COLORWRITE: gl.ColorMask(v & 1, (v >> 1) & 1, (v >> 2) & 1, (v >> 3) & 1); break;
    case RS_SCISSORTEST: v ? gl.Enable(GL_SCISSOR_TEST) : gl.Disable(GL_SCISSOR_TEST); break;
    case RS_SHADEMODE: UseProgram(&g_Device.programs[v == 1 ? 1 : 0]); break;
    case RS_ALPHATESTENABLE:
    case RS_ALPHAFUNC:
    case RS_ALPHAREF:
      gl.Uniform1i(g_Device.program->uAlphaFunc,
                   g_Device.states[RS_ALPHATESTENABLE] ? int(g_Device.states[RS_ALPHAFUNC]) : 8);
      gl.Uniform1f(g_Device.program->uAlphaRef, float(g_Device.states[RS_ALPHAREF] & 255));
      break;
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

void UploadMatrix() {
  Matrix m = Matrix_Multiply(Matrix_Multiply(g_Device.transforms[TRANSFORM_WORLD],
                                             g_Device.transforms[TRANSFORM_VIEW]),
                             g_Device.transforms[TRANSFORM_PROJECTION]);
  // Direct3D's clip y points up the image, whose top is memory row 0 here;
  // without clip control, depth 0..1 is also widened to OpenGL's -1..1.
  Matrix fix = Matrix_Scaling(1, -1, g_Device.clipControl ? 1 : 2);
  if (!g_Device.clipControl) fix.m[3][2] = -1;
  m = Matrix_Multiply(m, fix);
  gl.UniformMatrix4fv(g_Device.program->uMatrix, 1, GL_FALSE, &m.m[0][0]);
  g_Device.matrixDirty = false;
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

bool MakeProgram(const char* header, Program* out) {
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
  out->uMatrix = gl.GetUniformLocation(p, "uMatrix");
  out->uTextured = gl.GetUniformLocation(p, "uTextured");
  out->uModulate = gl.GetUniformLocation(p, "uModulate");
  out->uAlphaFunc = gl.GetUniformLocation(p, "uAlphaFunc");
  out->uAlphaRef = gl.GetUniformLocation(p, "uAlphaRef");
  gl.UseProgram(p);
  gl.Uniform1i(gl.GetUniformLocation(p, "uTexture"), 0);
  return true;
}

// Makes a program current and gives it the device's state.
void UseProgram(Program* p) {
  g_Device.program = p;
  gl.UseProgram(p->id);
  gl.Uniform1i(p->uModulate, g_Device.modulate ? 1 : 0);
  gl.Uniform1i(p->uTextured, g_Device.boundTexture >= 0 ? 1 : 0);
  ApplyState(RS_ALPHATESTENABLE);
  g_Device.matrixDirty = true;
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
  for (int i = 0; i < RS_COUNT; i++) ApplyState(i);
  for (int i = 0; i < 3; i++) g_Device.transforms[i] = Matrix_Identity();
  g_Device.matrixDirty = true;
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
  g_Device.boundTexture = -2;
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
  if (framebuffer) gl.DeleteFramebuffers(1, &framebuffer);
  if (texture) gl.DeleteTextures(1, &texture);
  g_Device.boundTexture = -2;
}

void Device_Texture_Update(uint32_t texture, int x, int y, int w, int h, const uint32_t* argb) {
  if (!g_Device.context) return;
  Batch_Flush();
  gl.BindTexture(GL_TEXTURE_2D, texture);
  gl.TexSubImage2D(GL_TEXTURE_2D, 0, x, y, w, h, GL_BGRA, GL_UNSIGNED_BYTE, argb);
  g_Device.boundTexture = -2;
}

void Device_Draw(int primType, int texture, const SVertex* verts, int count) {
  if (!g_Device.ready || count <= 0) return;
  if (g_Device.matrixDirty) UploadMatrix();
  GRTexture* tex = texture >= 0 ? GR_Texture_Get(texture) : nullptr;
  int bind = tex ? texture : -1;
  if (bind != g_Device.boundTexture) {
    gl.BindTexture(GL_TEXTURE_2D, tex ? tex->glTexture : 0);
    gl.Uniform1i(g_Device.program->uTextured, tex ? 1 : 0);
    g_Device.boundTexture = bind;
    Graphics_FrameCounters.textureSwaps++;
  }
  gl.BindSampler(0, g_Device.samplers[(g_Device.linear ? 1 : 0) | (g_Device.repeat ? 2 : 0)]);
  size_t bytes = size_t(count) * sizeof(SVertex);
  // A fresh store each draw lets the driver keep the previous one in flight.
  gl.BufferData(GL_ARRAY_BUFFER, bytes, verts, GL_STREAM_DRAW);
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
  if (!MakeProgram(kGouraudHeader, &g_Device.programs[0]) || !MakeProgram(kFlatHeader, &g_Device.programs[1])) {
    GR_D3D_Shutdown();
    return false;
  }
  gl.GenVertexArrays(1, &g_Device.vao);
  gl.BindVertexArray(g_Device.vao);
  gl.GenBuffers(1, &g_Device.vbo);
  gl.BindBuffer(GL_ARRAY_BUFFER, g_Device.vbo);
  gl.EnableVertexAttribArray(0);
  gl.VertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, sizeof(SVertex), reinterpret_cast<void*>(0));
  gl.EnableVertexAttribArray(1);
  gl.VertexAttribPointer(1, GL_BGRA, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(SVertex), reinterpret_cast<void*>(12));
  gl.EnableVertexAttribArray(2);
  gl.VertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, sizeof(SVertex), reinterpret_cast<void*>(16));
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
  if (g_Device.vao) gl.DeleteVertexArrays(1, &g_Device.vao);
  for (Program& p : g_Device.programs)
    if (p.id) gl.DeleteProgram(p.id);
  SDL_GL_DeleteContext(g_Device.context);
  g_Device = Device();
}

bool GR_D3D_IsReady() { return g_Device.ready; }

void GR_D3D_Start_Frame() {
  if (!g_Device.ready) return;
  Graphics_FrameCounters.textureSwaps = 0;
  Graphics_FrameCounters.batches = 0;
  g_Device.boundTexture = -2;
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
  if (g_Device.context) gl.Uniform1i(g_Device.program->uModulate, modulate ? 1 : 0);
}

void Graphics_SetTransform(int which, const Matrix& m) {
  if (which < 0 || which > 2) return;
  Batch_Flush();
  g_Device.transforms[which] = m;
  g_Device.matrixDirty = true;
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
    gl.Viewport(x, y, w, h);
    gl.Scissor(x, y, w, h);
  }
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
