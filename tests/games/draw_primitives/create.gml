var s;
s = surface_create(16, 16);
surface_set_target(s);

// Rectangles: filled and outlined, plain and with corner colours.
draw_clear(0);
draw_set_color(255);
draw_rectangle(1, 1, 6, 6, false);
draw_rectangle(8, 1, 14, 6, true);
draw_rectangle_color(1, 8, 6, 14, 65280, 65280, 65280, 65280, false);
show_debug_message("filled: " + string(surface_getpixel(s, 3, 3)));
show_debug_message("outline: " + string(surface_getpixel(s, 8, 3)) + " inside " + string(surface_getpixel(s, 11, 3)));
show_debug_message("coloured: " + string(surface_getpixel(s, 3, 10)));

// Every kind of user primitive.
draw_clear(0);
draw_primitive_begin(1);
draw_vertex_color(3, 4, 255, 1);
draw_primitive_end();
show_debug_message("point list: " + string(surface_getpixel(s, 3, 4)) + " " + string(surface_getpixel(s, 4, 4)));
draw_clear(0);
draw_primitive_begin(2);
draw_vertex_color(0, 5, 255, 1);
draw_vertex_color(8, 5, 255, 1);
draw_primitive_end();
show_debug_message("line list: " + string(surface_getpixel(s, 4, 5)) + " " + string(surface_getpixel(s, 4, 6)));
draw_clear(0);
draw_primitive_begin(3);
draw_vertex_color(0, 2, 255, 1);
draw_vertex_color(8, 2, 255, 1);
draw_vertex_color(8, 10, 255, 1);
draw_primitive_end();
show_debug_message("line strip: " + string(surface_getpixel(s, 8, 6)));
draw_clear(0);
draw_primitive_begin(4);
draw_vertex_color(0, 0, 65280, 1);
draw_vertex_color(16, 0, 65280, 1);
draw_vertex_color(0, 16, 65280, 1);
draw_primitive_end();
show_debug_message("triangle list: " + string(surface_getpixel(s, 2, 2)) + " " + string(surface_getpixel(s, 14, 14)));
draw_clear(0);
draw_primitive_begin(5);
draw_vertex_color(0, 0, 65280, 1);
draw_vertex_color(16, 0, 65280, 1);
draw_vertex_color(0, 16, 65280, 1);
draw_vertex_color(16, 16, 65280, 1);
draw_primitive_end();
show_debug_message("triangle strip: " + string(surface_getpixel(s, 14, 14)));
draw_clear(0);
draw_primitive_begin(6);
draw_vertex_color(0, 0, 16711680, 1);
draw_vertex_color(16, 0, 16711680, 1);
draw_vertex_color(16, 16, 16711680, 1);
draw_vertex_color(0, 16, 16711680, 1);
draw_primitive_end();
show_debug_message("triangle fan: " + string(surface_getpixel(s, 1, 14)));
draw_clear(0);
draw_primitive_begin(9);
draw_vertex(0, 0);
draw_vertex(16, 0);
draw_vertex(0, 16);
draw_primitive_end();
show_debug_message("unknown kind: " + string(surface_getpixel(s, 2, 2)));

// A path: with its first point at (2, 10), then at its own place.
draw_clear(0);
draw_set_color(255);
draw_path(pth_line, 2, 10, false);
draw_set_color(65280);
draw_path(pth_line, 2, 10, true);
show_debug_message("path: " + string(surface_getpixel(s, 6, 10)) + " " + string(surface_getpixel(s, 4, 0)) + " " + string(surface_getpixel(s, 4, 5)));

// Blend modes over a dark red (64).
draw_set_color(128);
draw_clear(64);
draw_set_blend_mode(1);
draw_rectangle(0, 0, 15, 15, false);
show_debug_message("add: " + string(surface_getpixel(s, 5, 5)));
draw_set_blend_mode(7);
draw_set_blend_mode_ext(12, 1);
draw_set_color(32);
draw_rectangle(0, 0, 15, 15, false);
show_debug_message("unknown modes keep add: " + string(surface_getpixel(s, 5, 5)));
draw_set_blend_mode(3);
draw_set_color(255);
draw_rectangle(0, 0, 15, 15, false);
show_debug_message("subtract: " + string(surface_getpixel(s, 5, 5)));
draw_clear(make_color_rgb(100, 100, 100));
draw_set_blend_mode(2);
draw_set_color(make_color_rgb(200, 50, 0));
draw_rectangle(0, 0, 15, 15, false);
show_debug_message("max: " + string(surface_getpixel(s, 5, 5)));
draw_set_blend_mode(0);

// A clear with alpha: a destination-alpha blend reads it back.
draw_clear_alpha(255, 0.5);
show_debug_message("cleared: " + string(surface_getpixel(s, 5, 5)));
draw_set_blend_mode_ext(7, 1);
draw_set_color(16777215);
draw_rectangle(0, 0, 15, 15, false);
show_debug_message("white times half: " + string(color_get_red(surface_getpixel(s, 5, 5))));
draw_set_blend_mode(0);

// Alpha in the draw state.
draw_clear(0);
draw_set_alpha(0.5);
draw_set_color(255);
draw_rectangle(0, 0, 15, 15, false);
draw_set_alpha(1);
show_debug_message("half red: " + string(surface_getpixel(s, 5, 5)));
surface_reset_target();
surface_free(s);
game_end();
