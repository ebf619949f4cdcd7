var a, b, c;
show_debug_message("reset without a target: " + string(surface_reset_target()));
a = surface_create(8, 8);
b = surface_create(8, 8);
show_debug_message("ids " + string(a) + " " + string(b) + ", size " + string(surface_get_width(a)) + "x" + string(surface_get_height(a)));

// The batch is drawn before a blend change, a clear and a read.
surface_set_target(a);
draw_clear(0);
draw_set_color(255);
draw_rectangle(0, 0, 7, 7, false);
draw_set_blend_mode(3);
show_debug_message("drawn before the blend change: " + string(surface_getpixel(a, 1, 1)));
draw_set_blend_mode(0);
draw_rectangle(0, 0, 7, 7, false);
draw_clear(16711680);
show_debug_message("drawn before the clear: " + string(surface_getpixel(a, 1, 1)));
draw_set_color(65280);
draw_rectangle(0, 0, 3, 3, false);
show_debug_message("drawn before the read: " + string(surface_getpixel(a, 1, 1)));

// Left half red, right half green; reads outside give 0.
draw_set_color(255);
draw_rectangle(0, 0, 3, 7, false);
draw_set_color(65280);
draw_rectangle(4, 0, 7, 7, false);
show_debug_message("outside: " + string(surface_getpixel(a, -1, 0)) + " " + string(surface_getpixel(a, 8, 0)) + " " + string(surface_getpixel(a, 0, 100)));

// A second target replaces the first.
show_debug_message("second target: " + string(surface_set_target(b)));
draw_clear(0);
show_debug_message("reset: " + string(surface_reset_target()) + ", again: " + string(surface_reset_target()));

// Copies, clipped to both surfaces.
surface_copy(b, 2, 2, a);
show_debug_message("copy: " + string(surface_getpixel(b, 1, 1)) + " " + string(surface_getpixel(b, 2, 2)) + " " + string(surface_getpixel(b, 7, 7)));
surface_copy_part(b, -3, -3, a, -2, -2, 100, 100);
show_debug_message("clipped copy: " + string(surface_getpixel(b, 2, 2)) + " " + string(surface_getpixel(b, 3, 3)));
// Onto itself: columns 0 to 5 move right by 2, read as they were.
surface_copy_part(a, 2, 0, a, 0, 0, 6, 8);
show_debug_message("copy onto itself: " + string(surface_getpixel(a, 1, 0)) + " " + string(surface_getpixel(a, 5, 0)) + " " + string(surface_getpixel(a, 6, 0)));

// A surface drawn onto another.
c = surface_create(4, 4);
surface_set_target(c);
draw_clear(0);
draw_surface(a, -3.5, 0.2);
draw_surface_stretched(a, 2, 2, 2, 2);
surface_reset_target();
show_debug_message("drawn surface: " + string(surface_getpixel(c, 0, 1)) + " " + string(surface_getpixel(c, 3, 3)));
show_debug_message("texture: " + string(texture_exists(surface_get_texture(c))) + " " + string(texture_get_width(surface_get_texture(c))));

surface_free(a);
surface_free(12345);
show_debug_message("freed: " + string(surface_exists(a)) + " " + string(surface_get_width(a)));
show_debug_message("slot reused: " + string(surface_create(2, 2)));
game_end();
