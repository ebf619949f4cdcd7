// The date and time built-ins (registered from Function_Misc_Init).
#pragma once

void Function_Date_Init();
