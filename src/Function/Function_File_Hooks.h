// Files the scripts left open, closed when the game ends.
#pragma once

void FileTables_CloseAll();
