// The runner form's show back-ends (videos, images and texts shown over the
// game): nothing is shown on this platform and each reports success.
#pragma once

bool RunnerForm_ShowVideo(const char* file, bool loop);
bool RunnerForm_ShowImage(const char* file, int delay);
bool RunnerForm_ShowText(const char* file, int delay);
