// Sub-images: past the frame count they wrap; negative ones take the
// instance's own frame.
var s;
s = surface_create(32, 8);
surface_set_target(s);
draw_clear(0);
image_index = 2.9;
draw_sprite(spr_frames, 4, 0, 0);
draw_sprite(spr_frames, 2.7, 2, 0);
draw_sprite(spr_frames, -1, 4, 0);
draw_sprite(spr_frames, -0.5, 6, 0);
draw_sprite(spr_frames, 300, 8, 0);
draw_sprite_ext(spr_frames, 0, 10, 0, 2, 2, 0, 65535, 1);
draw_sprite_stretched(spr_frames, 1, 14, 0, 4, 4);
draw_sprite_part(spr_frames, 2, 1, 1, 1, 1, 18, 0);
show_debug_message("frame 4 of 3: " + string(surface_getpixel(s, 1, 1)));
show_debug_message("frame 2.7: " + string(surface_getpixel(s, 3, 1)));
show_debug_message("frame -1: " + string(surface_getpixel(s, 5, 1)));
show_debug_message("frame -0.5: " + string(surface_getpixel(s, 7, 1)));
show_debug_message("frame 300: " + string(surface_getpixel(s, 9, 1)));
show_debug_message("ext, yellow blend: " + string(surface_getpixel(s, 13, 3)));
show_debug_message("stretched: " + string(surface_getpixel(s, 17, 3)));
show_debug_message("part: " + string(surface_getpixel(s, 18, 0)) + " " + string(surface_getpixel(s, 19, 0)));

// draw_self: the instance's own frame, place and blend.
x = 20;
y = 0;
image_index = 1;
image_blend = 65535;
draw_self();
show_debug_message("draw_self: " + string(surface_getpixel(s, 21, 1)));
image_blend = 16711680;
draw_self();
show_debug_message("draw_self, blue blend: " + string(surface_getpixel(s, 21, 1)));

// Backgrounds.
draw_clear(0);
draw_background(bg_yellow, 0, 0);
draw_background_ext(bg_yellow, 4, 0, 1, 1, 0, 255, 1);
draw_background_stretched(bg_yellow, 8, 0, 8, 8);
show_debug_message("background: " + string(surface_getpixel(s, 3, 3)));
show_debug_message("background red blend: " + string(surface_getpixel(s, 5, 1)));
show_debug_message("stretched: " + string(surface_getpixel(s, 15, 7)) + ", beyond: " + string(surface_getpixel(s, 16, 0)));

// Tiled over the room from one copy at (1, 1); a scale of 0 draws nothing.
draw_clear(0);
draw_sprite_tiled_ext(spr_frames, 0, 1, 1, 0, 1, 16777215, 1);
draw_background_tiled_ext(bg_yellow, 1, 1, 1, -2, 16777215, 1);
show_debug_message("tiled at scale 0: " + string(surface_getpixel(s, 0, 0)));
draw_sprite_tiled(spr_frames, 1, 1, 1);
show_debug_message("tiled: " + string(surface_getpixel(s, 0, 0)) + " " + string(surface_getpixel(s, 31, 7)));
surface_reset_target();

// The screen: a room point read back through draw_getpixel.
draw_sprite(spr_frames, 0, 10, 10);
show_debug_message("screen: " + string(draw_getpixel(10, 10)) + " " + string(draw_getpixel(12, 12)));
surface_free(s);
game_end();
