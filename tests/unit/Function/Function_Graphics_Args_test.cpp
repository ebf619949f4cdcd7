// The drawing built-ins without the device: registration, the text of a
// text argument and rectangle clipping.
#include <gtest/gtest.h>

#include "Function/Function_Graphics.h"
#include "Function_Graphics_Call.h"

TEST(GraphicsRegistration, EveryNameWithItsArgumentCount) {
  Graphics_EnsureRegistered();
  struct { const char* name; int argc; } names[] = {
      {"display_get_width", 0}, {"display_get_height", 0}, {"display_get_colordepth", 0},
      {"display_get_frequency", 0}, {"display_get_orientation", 0}, {"display_set_size", 2},
      {"display_set_colordepth", 1}, {"display_set_frequency", 1}, {"display_set_all", 4},
      {"display_test_all", 4}, {"display_reset", -1}, {"display_mouse_get_x", 0}, {"display_mouse_get_y", 0},
      {"display_mouse_set", 2}, {"window_set_visible", 1}, {"window_set_showborder", 1},
      {"window_set_showicons", 1}, {"window_set_stayontop", 1}, {"window_set_sizeable", 1},
      {"window_get_showborder", 0}, {"window_get_showicons", 0}, {"window_get_stayontop", 0},
      {"window_get_sizeable", 0}, {"window_default", 0}, {"window_get_visible", 0},
      {"window_set_fullscreen", 1}, {"window_get_fullscreen", 0}, {"window_set_caption", 1},
      {"window_get_caption", 0}, {"window_set_cursor", 1}, {"window_get_cursor", 0}, {"window_set_color", 1},
      {"window_get_color", 0}, {"window_set_position", 2}, {"window_set_size", 2}, {"window_set_rectangle", 4},
      {"window_center", 0}, {"window_get_x", 0}, {"window_get_y", 0}, {"window_get_width", 0},
      {"window_get_height", 0}, {"window_mouse_get_x", 0}, {"window_mouse_get_y", 0}, {"window_mouse_set", 2},
      {"window_view_mouse_get_x", 1}, {"window_view_mouse_get_y", 1}, {"window_views_mouse_get_x", 0},
      {"window_views_mouse_get_y", 0}, {"window_view_mouse_set", 3}, {"window_views_mouse_set", 2},
      {"screen_save", 1}, {"screen_save_part", 5}, {"draw_getpixel", 2}, {"draw_set_color", 1},
      {"draw_get_color", 0}, {"draw_set_alpha", 1}, {"draw_get_alpha", 0}, {"make_color_rgb", 3},
      {"make_color", 3}, {"make_color_hsv", 3}, {"color_get_red", 1}, {"color_get_green", 1},
      {"color_get_blue", 1}, {"color_get_hue", 1}, {"color_get_saturation", 1}, {"color_get_value", 1},
      {"merge_color", 3}, {"draw_set_blend_mode", 1}, {"draw_set_blend_mode_ext", 2}, {"draw_clear", 1},
      {"draw_clear_alpha", 2}, {"draw_point", 2}, {"draw_line", 4}, {"draw_line_width", 5},
      {"draw_rectangle", 5}, {"draw_roundrect", 5}, {"draw_triangle", 7}, {"draw_circle", 4},
      {"draw_ellipse", 5}, {"draw_arrow", 5}, {"draw_button", 5}, {"draw_healthbar", 11}, {"draw_path", 4},
      {"draw_point_color", 3}, {"draw_line_color", 6}, {"draw_line_width_color", 7},
      {"draw_rectangle_color", 9}, {"draw_roundrect_color", 7}, {"draw_triangle_color", 10},
      {"draw_circle_color", 6}, {"draw_ellipse_color", 7}, {"draw_set_circle_precision", 1},
      {"draw_primitive_begin", 1}, {"draw_primitive_begin_texture", 2}, {"draw_vertex", 2},
      {"draw_vertex_color", 4}, {"draw_vertex_texture", 4}, {"draw_vertex_texture_color", 6},
      {"draw_primitive_end", 0}, {"sprite_get_texture", 2}, {"background_get_texture", 1},
      {"texture_exists", 1}, {"texture_get_width", 1}, {"texture_get_height", 1},
      {"texture_set_interpolation", 1}, {"texture_set_blending", 1}, {"texture_set_repeat", 1},
      {"texture_preload", 1}, {"texture_set_priority", 2}, {"draw_self", 0}, {"draw_sprite", 4},
      {"draw_sprite_ext", 9}, {"draw_sprite_pos", 11}, {"draw_sprite_part", 8}, {"draw_sprite_part_ext", 12},
      {"draw_sprite_general", 16}, {"draw_sprite_stretched", 6}, {"draw_sprite_stretched_ext", 8},
      {"draw_sprite_tiled", 4}, {"draw_sprite_tiled_ext", 8}, {"draw_background", 3},
      {"draw_background_ext", 8}, {"draw_background_part", 7}, {"draw_background_part_ext", 11},
      {"draw_background_general", 15}, {"draw_background_stretched", 5}, {"draw_background_stretched_ext", 7},
      {"draw_background_tiled", 3}, {"draw_background_tiled_ext", 7}, {"surface_create", 2},
      {"surface_free", 1}, {"surface_exists", 1}, {"surface_get_width", 1}, {"surface_get_height", 1},
      {"surface_get_texture", 1}, {"surface_set_target", 1}, {"surface_reset_target", 0}, {"draw_surface", 3},
      {"draw_surface_ext", 8}, {"draw_surface_part", 7}, {"draw_surface_part_ext", 11},
      {"draw_surface_general", 15}, {"draw_surface_stretched", 5}, {"draw_surface_stretched_ext", 7},
      {"draw_surface_tiled", 3}, {"draw_surface_tiled_ext", 7}, {"surface_save", 2}, {"surface_save_part", 6},
      {"surface_getpixel", 3}, {"surface_copy", 4}, {"surface_copy_part", 8}, {"draw_set_font", 1},
      {"draw_set_halign", 1}, {"draw_set_valign", 1}, {"string_width", 1}, {"string_height", 1},
      {"string_width_ext", 3}, {"string_height_ext", 3}, {"draw_text", 3}, {"draw_text_ext", 5},
      {"draw_text_transformed", 6}, {"draw_text_ext_transformed", 8}, {"draw_text_color", 8},
      {"draw_text_transformed_color", 11}, {"draw_text_ext_color", 10}, {"draw_text_ext_transformed_color", 13},
      {"tile_add", 8}, {"tile_delete", 1}, {"tile_exists", 1}, {"tile_find", 3}, {"tile_delete_at", 3},
      {"tile_layer_find", 3}, {"tile_layer_hide", 1}, {"tile_layer_show", 1}, {"tile_layer_delete", 1},
      {"tile_layer_shift", 3}, {"tile_layer_delete_at", 3}, {"tile_layer_depth", 2}, {"tile_get_x", 1},
      {"tile_get_y", 1}, {"tile_get_left", 1}, {"tile_get_top", 1}, {"tile_get_width", 1},
      {"tile_get_height", 1}, {"tile_get_depth", 1}, {"tile_get_visible", 1}, {"tile_get_xscale", 1},
      {"tile_get_yscale", 1}, {"tile_get_blend", 1}, {"tile_get_alpha", 1}, {"tile_get_background", 1},
      {"tile_set_position", 3}, {"tile_set_visible", 2}, {"tile_set_background", 2}, {"tile_set_region", 5},
      {"tile_set_depth", 2}, {"tile_set_scale", 3}, {"tile_set_blend", 2}, {"tile_set_alpha", 2},  };
  EXPECT_EQ(std::size(names), 199u);
  for (auto& n : names) {
    const RFunction* f = Function_Get(Function_FindBuiltIn(n.name));
    ASSERT_NE(f, nullptr) << n.name;
    EXPECT_EQ(f->argnumb, n.argc) << n.name;
  }
  // make_color is the same handler as make_color_rgb.
  EXPECT_EQ(Function_Get(Function_FindBuiltIn("make_color"))->routine,
            Function_Get(Function_FindBuiltIn("make_color_rgb"))->routine);
}

TEST(GraphicsText, RealsAsTextKeepEveryDigit) {
  RValue v = {VALUE_REAL, nullptr, 123456789};
  EXPECT_EQ(Graphics_ArgText(v), "123456789");
  v.val = 3;
  EXPECT_EQ(Graphics_ArgText(v), "3");
  v.val = 0.1;
  EXPECT_EQ(Graphics_ArgText(v), "0.10");
  v.val = -2.5;
  EXPECT_EQ(Graphics_ArgText(v), "-2.50");
  RValue_SetString(&v, "a#b");
  EXPECT_EQ(Graphics_ArgText(v), "a#b");
  RValue_Free(&v);
}

TEST(GraphicsArea, RectanglesAreClippedToTheArea) {
  int x = -10, y = 5, w = 50, h = 100;
  ASSERT_TRUE(Graphics_ClipRect(64, 64, &x, &y, &w, &h));
  EXPECT_EQ(x, 0);
  EXPECT_EQ(w, 40);
  EXPECT_EQ(y, 5);
  EXPECT_EQ(h, 59);
  x = 70, y = 0, w = 5, h = 5;
  EXPECT_FALSE(Graphics_ClipRect(64, 64, &x, &y, &w, &h));
  x = -2147483647 - 1, y = 0, w = -2147483647 - 1, h = 5;
  EXPECT_FALSE(Graphics_ClipRect(64, 64, &x, &y, &w, &h)) << "no overflow at the ends of the range";
  x = 0, y = 0, w = 2147483647, h = 2147483647;
  ASSERT_TRUE(Graphics_ClipRect(64, 64, &x, &y, &w, &h));
  EXPECT_EQ(w, 64);
}
