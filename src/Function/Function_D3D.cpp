// The 3D drawing built-ins: thin wrappers over the 3D state and models.
// Coordinates, normals, texture coordinates, repeats and most angles are
// narrowed to single precision (the Graphics layer takes floats, so the
// arguments given as double lose nothing that it keeps); kinds, textures,
// steps, colours and model ids are rounded; flags are true at 0.5 or more.
#include <string>

#include "Base/Console.h"
#include "Base/Convert.h"
#include "Base/Maths_Matrix.h"
#include "Code/Code_BuiltinTable.h"
#include "Function/Function_Args.h"
#include "Function/Function_Graphics.h"
#include "Graphics/Graphics_D3D.h"
#include "Graphics/Graphics_D3D_Model.h"
#include "IO/LoadSave_Main.h"

namespace {

float F(const RValue& v) { return RValue_Single(v); }
int I(const RValue& v) { return RValue_RoundInt(v); }
bool B(const RValue& v) { return RValue_IsTrue(v); }
// Start and end of a fog band: their low 16 bits after truncation.
uint16_t Fog16(const RValue& v) { return uint16_t(uint32_t(RValue_TruncInt(v))); }

// Mode and render state.
void F_D3DStart(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, D3D_Start(true) ? 1 : 0); }
void F_D3DEnd(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, D3D_Start(false) ? 1 : 0); }
void F_D3DSetPerspective(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetPerspective(B(a[0])); }
void F_D3DSetHidden(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetHidden(B(a[0])); }
void F_D3DSetDepth(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetDepth(RValue_Real(a[0])); }
void F_D3DSetLighting(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetLighting(B(a[0])); }
void F_D3DSetShading(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetShading(B(a[0])); }
void F_D3DSetCulling(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_SetCulling(B(a[0])); }
void F_D3DSetFog(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_SetFog(B(a[0]), Arg_Colour(a[1]), Fog16(a[2]), Fog16(a[3]));
}

// Immediate primitives. A kind outside 1..6 draws nothing at the end.
void F_D3DPrimitiveBegin(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_Primitive_Begin(I(a[0]), -1); }
void F_D3DPrimitiveBeginTexture(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Primitive_Begin(I(a[0]), I(a[1]));
}
void F_D3DPrimitiveEnd(RValue&, CInstance*, CInstance*, int, const RValue*) { D3D_Primitive_End(); }

// The vertex forms by what they carry after x, y, z: a normal (3 numbers),
// texture coordinates (2), a colour and alpha (2).
template <bool Normal, bool Texture, bool Colour>
void F_D3DVertex(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  float n[3] = {0, 0, 0}, uv[2] = {0, 0};
  int i = 3;
  if (Normal) {
    for (float& c : n) c = F(a[i++]);
  }
  if (Texture) {
    for (float& c : uv) c = F(a[i++]);
  }
  if (Colour) D3D_Vertex(F(a[0]), F(a[1]), F(a[2]), n[0], n[1], n[2], uv[0], uv[1], Arg_Colour(a[i]), F(a[i + 1]));
  else D3D_Vertex(F(a[0]), F(a[1]), F(a[2]), n[0], n[1], n[2], uv[0], uv[1]);
}

// Shapes: corners, texture, hrepeat, vrepeat (then closed and steps).
void F_D3DDrawBlock(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Block(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]));
}
void F_D3DDrawCylinder(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Cylinder(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]), B(a[9]),
                    I(a[10]));
}
void F_D3DDrawCone(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Cone(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]), B(a[9]), I(a[10]));
}
void F_D3DDrawEllipsoid(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Ellipsoid(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]), I(a[9]));
}
void F_D3DDrawWall(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Wall(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]));
}
void F_D3DDrawFloor(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Draw_Floor(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), F(a[5]), I(a[6]), F(a[7]), F(a[8]));
}

// Projections.
void Points(const RValue* a, float from[3], float to[3], float up[3]) {
  for (int i = 0; i < 3; i++) {
    from[i] = F(a[i]);
    to[i] = F(a[3 + i]);
    up[i] = F(a[6 + i]);
  }
}
void F_D3DSetProjection(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  float from[3], to[3], up[3];
  Points(a, from, to, up);
  D3D_SetProjection(from, to, up);
}
void F_D3DSetProjectionExt(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  float from[3], to[3], up[3];
  Points(a, from, to, up);
  D3D_SetProjectionExt(from, to, up, F(a[9]), F(a[10]), F(a[11]), F(a[12]));
}
void F_D3DSetProjectionOrtho(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_SetProjectionOrtho(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]));
}
void F_D3DSetProjectionPerspective(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_SetProjectionPerspective(F(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]));
}

// Transforms.
void F_D3DTransformSetIdentity(RValue&, CInstance*, CInstance*, int, const RValue*) { D3D_Transform_SetIdentity(); }
template <bool Add>
void F_D3DTransformTranslation(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Transform_Translation(Add, F(a[0]), F(a[1]), F(a[2]));
}
template <bool Add>
void F_D3DTransformScaling(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Transform_Scaling(Add, F(a[0]), F(a[1]), F(a[2]));
}
template <bool Add, int Axis>
void F_D3DTransformRotation(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Transform_Rotation(Add, Axis, F(a[0]));
}
template <bool Add>
void F_D3DTransformRotationAxis(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Transform_RotationAxis(Add, F(a[0]), F(a[1]), F(a[2]), F(a[3]));
}
void F_D3DTransformStackClear(RValue&, CInstance*, CInstance*, int, const RValue*) { D3D_TransformStack_Clear(); }
template <bool (*Operation)()>
void F_D3DTransformStack(RValue& r, CInstance*, CInstance*, int, const RValue*) {
  Give(r, Operation() ? 1 : 0);
}

// Lights.
void F_D3DLightDefineAmbient(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  if (!RValue_IsString(a[0])) Graphics_LightDefineAmbient(uint32_t(RValue_TruncInt(a[0])));
}
void F_D3DLightDefineDirection(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Graphics_LightDefineDirection(RValue_TruncInt(a[0]), F(a[1]), F(a[2]), F(a[3]), Arg_Colour(a[4]));
}
void F_D3DLightDefinePoint(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  Graphics_LightDefinePoint(I(a[0]), F(a[1]), F(a[2]), F(a[3]), F(a[4]), Arg_Colour(a[5]));
}
void F_D3DLightEnable(RValue&, CInstance*, CInstance*, int, const RValue* a) { Graphics_LightEnable(I(a[0]), B(a[1])); }

// Models.
void F_D3DModelCreate(RValue& r, CInstance*, CInstance*, int, const RValue*) { Give(r, D3D_Model_Create()); }
void F_D3DModelDestroy(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_Model_Destroy(I(a[0])); }
void F_D3DModelClear(RValue&, CInstance*, CInstance*, int, const RValue* a) { D3D_Model_Clear(I(a[0])); }

bool RealAndName(const RValue* a) { return !RValue_IsString(a[0]) && RValue_IsString(a[1]); }

void F_D3DModelLoad(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  Give(r, -1);
  if (!RealAndName(a)) return;
  const char* name = RValue_Text(a[1]);
  std::string path = LoadSave_MakeReadPath(name);
  if (path.empty() || path.size() > 1024) {
    g_Console.Output("d3d_model_load - unable to find file %s\n", name);
    Give(r, 0);
    return;
  }
  Give(r, D3D_Model_Load(I(a[0]), path.c_str(), name) ? 1 : 0);
}

void F_D3DModelSave(RValue& r, CInstance*, CInstance*, int, const RValue* a) {
  Give(r, -1);
  if (!RealAndName(a)) return;
  const char* name = RValue_Text(a[1]);
  char path[1025];
  if (!D3D_Model_Exists(I(a[0]))) return;
  if (!LoadSave_MakeSavePath(path, sizeof path, name)) {
    g_Console.Output("d3d_model_save - unable to write file %s\n", name);
    return;
  }
  D3D_Model_Save(I(a[0]), name);
}

void F_D3DModelDraw(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3D_Model_Draw(I(a[0]), F(a[1]), F(a[2]), F(a[3]), I(a[4]));
}

// A recorded command: its arguments after the id as numbers, x double, the
// others single; a colour and steps rounded, closed as 1 or 0.
template <int Kind, int Count>
void F_D3DModelCommand(RValue&, CInstance*, CInstance*, int, const RValue* a) {
  D3DModelCommand c;
  c.kind = Kind;
  for (int i = 0; i < Count; i++) c.args[i] = i == 0 ? RValue_Real(a[1]) : double(F(a[i + 1]));
  if (Kind == MODEL_BEGIN) c.args[0] = I(a[1]);
  bool colourForm = Kind >= MODEL_VERTEX && Kind <= MODEL_VERTEX_NORMAL_TEXTURE_COLOR && ((Kind - MODEL_VERTEX) & 1);
  if (colourForm) c.args[Count - 2] = I(a[Count - 1]);
  if (Kind == MODEL_CYLINDER || Kind == MODEL_CONE) {
    c.args[8] = B(a[9]) ? 1 : 0;
    c.args[9] = I(a[10]);
  }
  if (Kind == MODEL_ELLIPSOID) c.args[8] = I(a[9]);
  D3D_Model_Add(I(a[0]), c);
}

}  // namespace

void Function_D3D_Init() {
  static const struct {
    const char* name;
    TRoutine routine;
    int argc;
  } builtins[] = {
      {"d3d_start", F_D3DStart, 0},
      {"d3d_end", F_D3DEnd, 0},
      {"d3d_set_perspective", F_D3DSetPerspective, 1},
      {"d3d_set_hidden", F_D3DSetHidden, 1},
      {"d3d_set_depth", F_D3DSetDepth, 1},
      {"d3d_set_lighting", F_D3DSetLighting, 1},
      {"d3d_set_shading", F_D3DSetShading, 1},
      {"d3d_set_fog", F_D3DSetFog, 4},
      {"d3d_set_culling", F_D3DSetCulling, 1},
      {"d3d_primitive_begin", F_D3DPrimitiveBegin, 1},
      {"d3d_primitive_begin_texture", F_D3DPrimitiveBeginTexture, 2},
      {"d3d_primitive_end", F_D3DPrimitiveEnd, 0},
      {"d3d_vertex", F_D3DVertex<false, false, false>, 3},
      {"d3d_vertex_color", F_D3DVertex<false, false, true>, 5},
      {"d3d_vertex_texture", F_D3DVertex<false, true, false>, 5},
      {"d3d_vertex_texture_color", F_D3DVertex<false, true, true>, 7},
      {"d3d_vertex_normal", F_D3DVertex<true, false, false>, 6},
      {"d3d_vertex_normal_color", F_D3DVertex<true, false, true>, 8},
      {"d3d_vertex_normal_texture", F_D3DVertex<true, true, false>, 8},
      {"d3d_vertex_normal_texture_color", F_D3DVertex<true, true, true>, 10},
      {"d3d_draw_block", F_D3DDrawBlock, 9},
      {"d3d_draw_cylinder", F_D3DDrawCylinder, 11},
      {"d3d_draw_cone", F_D3DDrawCone, 11},
      {"d3d_draw_ellipsoid", F_D3DDrawEllipsoid, 10},
      {"d3d_draw_wall", F_D3DDrawWall, 9},
      {"d3d_draw_floor", F_D3DDrawFloor, 9},
      {"d3d_set_projection", F_D3DSetProjection, 9},
      {"d3d_set_projection_ext", F_D3DSetProjectionExt, 13},
      {"d3d_set_projection_ortho", F_D3DSetProjectionOrtho, 5},
      {"d3d_set_projection_perspective", F_D3DSetProjectionPerspective, 5},
      {"d3d_transform_set_identity", F_D3DTransformSetIdentity, 0},
      {"d3d_transform_set_translation", F_D3DTransformTranslation<false>, 3},
      {"d3d_transform_set_scaling", F_D3DTransformScaling<false>, 3},
      {"d3d_transform_set_rotation_x", F_D3DTransformRotation<false, D3D_AXIS_X>, 1},
      {"d3d_transform_set_rotation_y", F_D3DTransformRotation<false, D3D_AXIS_Y>, 1},
      {"d3d_transform_set_rotation_z", F_D3DTransformRotation<false, D3D_AXIS_Z>, 1},
      {"d3d_transform_set_rotation_axis", F_D3DTransformRotationAxis<false>, 4},
      {"d3d_transform_add_translation", F_D3DTransformTranslation<true>, 3},
      {"d3d_transform_add_scaling", F_D3DTransformScaling<true>, 3},
      {"d3d_transform_add_rotation_x", F_D3DTransformRotation<true, D3D_AXIS_X>, 1},
      {"d3d_transform_add_rotation_y", F_D3DTransformRotation<true, D3D_AXIS_Y>, 1},
      {"d3d_transform_add_rotation_z", F_D3DTransformRotation<true, D3D_AXIS_Z>, 1},
      {"d3d_transform_add_rotation_axis", F_D3DTransformRotationAxis<true>, 4},
      {"d3d_transform_stack_clear", F_D3DTransformStackClear, 0},
      {"d3d_transform_stack_empty", F_D3DTransformStack<D3D_TransformStack_Empty>, 0},
      {"d3d_transform_stack_push", F_D3DTransformStack<D3D_TransformStack_Push>, 0},
      {"d3d_transform_stack_pop", F_D3DTransformStack<D3D_TransformStack_Pop>, 0},
      {"d3d_transform_stack_top", F_D3DTransformStack<D3D_TransformStack_Top>, 0},
      {"d3d_transform_stack_discard", F_D3DTransformStack<D3D_TransformStack_Discard>, 0},
      {"d3d_light_define_ambient", F_D3DLightDefineAmbient, 1},
      {"d3d_light_define_direction", F_D3DLightDefineDirection, 5},
      {"d3d_light_define_point", F_D3DLightDefinePoint, 6},
      {"d3d_light_enable", F_D3DLightEnable, 2},
      {"d3d_model_create", F_D3DModelCreate, 0},
      {"d3d_model_destroy", F_D3DModelDestroy, 1},
      {"d3d_model_clear", F_D3DModelClear, 1},
      {"d3d_model_load", F_D3DModelLoad, 2},
      {"d3d_model_save", F_D3DModelSave, 2},
      {"d3d_model_draw", F_D3DModelDraw, 5},
      {"d3d_model_primitive_begin", F_D3DModelCommand<MODEL_BEGIN, 1>, 2},
      {"d3d_model_primitive_end", F_D3DModelCommand<MODEL_END, 0>, 1},
      {"d3d_model_vertex", F_D3DModelCommand<MODEL_VERTEX, 3>, 4},
      {"d3d_model_vertex_color", F_D3DModelCommand<MODEL_VERTEX_COLOR, 5>, 6},
      {"d3d_model_vertex_texture", F_D3DModelCommand<MODEL_VERTEX_TEXTURE, 5>, 6},
      {"d3d_model_vertex_texture_color", F_D3DModelCommand<MODEL_VERTEX_TEXTURE_COLOR, 7>, 8},
      {"d3d_model_vertex_normal", F_D3DModelCommand<MODEL_VERTEX_NORMAL, 6>, 7},
      {"d3d_model_vertex_normal_color", F_D3DModelCommand<MODEL_VERTEX_NORMAL_COLOR, 8>, 9},
      {"d3d_model_vertex_normal_texture", F_D3DModelCommand<MODEL_VERTEX_NORMAL_TEXTURE, 8>, 9},
      {"d3d_model_vertex_normal_texture_color", F_D3DModelCommand<MODEL_VERTEX_NORMAL_TEXTURE_COLOR, 10>, 11},
      {"d3d_model_block", F_D3DModelCommand<MODEL_BLOCK, 8>, 9},
      {"d3d_model_cylinder", F_D3DModelCommand<MODEL_CYLINDER, 10>, 11},
      {"d3d_model_cone", F_D3DModelCommand<MODEL_CONE, 10>, 11},
      {"d3d_model_ellipsoid", F_D3DModelCommand<MODEL_ELLIPSOID, 9>, 10},
      {"d3d_model_wall", F_D3DModelCommand<MODEL_WALL, 8>, 9},
      {"d3d_model_floor", F_D3DModelCommand<MODEL_FLOOR, 8>, 9},
  };
  for (const auto& b : builtins) Function_Add(b.name, b.routine, b.argc);
}
