#include "StartUp/StartUp_Main.h"

#include <clocale>
#include <string>

#include "Base/Console.h"
#include "Kivo/Kivo_Pause.h"
#include "Base/File_Folders.h"
#include "Base/Gtk_Start.h"
#include "Base/RValue.h"
#include "Base/Random_Main.h"
#include "Base/ShowMessage.h"
#include "Code/Code_Error.h"
#include "Code/Code_Main.h"
#include "DPlay/DPlay_Shared.h"
#include "Debug/Debug_Overlay.h"
#include "Debug/Debug_Profiler.h"
#include "DataFile/DataFile_Main.h"
#include "DataFile/DataFile_Package.h"
#include "Debug/Dialog_Main.h"
#include "Extension/Extension_Main.h"
#include "Font/Font_Main.h"
#include "Support/Support_Data_Structures_Table.h"
#include "Function/Function_File.h"
#include "Function/Function_Graphics.h"
#include "Function/Function_Init.h"
#include "Function/Function_Resource.h"
#include "Function/Kivo_Functions.h"
#include "Graphics/Graphics_Draw.h"
#include "Graphics/Graphics_Main.h"
#include "Graphics/Graphics_Transition.h"
#include "Graphics_API/Graphics_Device.h"
#include "Graphics_API/Window_Main.h"
#include "IO/HTTP_Main.h"
#include "IO/IO_Main.h"
#include "IO/LoadSave_Main.h"
#include "Option/Option_CommandLine.h"
#include "Option/Option_Main.h"
#include "Particle/Particle_Effect.h"
#include "Particle/Particle_Main.h"
#include "Particle/Particle_Shapes.h"
#include "Platform/MemoryManager.h"
#include "Run/Highscore_Main.h"
#include "Run/Run_Hooks.h"
#include "Run/Run_Main.h"
#include "Run/Run_Names.h"
#include "Run/Run_OpenDialog.h"
#include "Run/Run_Prepare.h"
#include "Run/Run_Screen.h"
#include "Run/Run_Services.h"
#include "Script/Script_Main.h"
#include "Sound/Sound_Main.h"
#include "Sprite/Sprite_Main.h"
#include "Support/Support_File.h"
#include "Support/Support_Timing.h"


namespace {
// The game file: "data.win" beside the program, else "-game", else asked for.
std::string FindGameFile(int argc, char** argv) {
  char* dir = File_GetProgramDirectory();
  std::string beside = std::string(dir ? dir : "") + "data.win";
  MemoryManager::Free(dir);
  if (File_Exists(beside.c_str())) {
    CommandLine_SetDefaults();
    return beside;
  }
  ParseCommandLine(argc, argv);
  if (!g_CommandLine.game.empty()) return g_CommandLine.game;
  return Run_AskGameFile();
}

// "options.ini" beside the package: [DEFAULT] Debug=1 turns debug mode on.
void CopyOptions(const PackageOptions& o) {
  g_GameOptions.show_errors = o.show_errors;
  g_GameOptions.errors_fatal = o.errors_fatal;
  g_GameOptions.new_audio = o.new_audio;
  g_GameOptions.freeze_when_inactive = o.freeze_when_inactive;
  g_GameOptions.unknown_variables_zero = o.unknown_variables_zero;
}

void ShutDown() {
  EndGame();
  IO_Record_Stop();
  HTTP_Shutdown();
  Sound_Quit();
  DataFile_RemoveExported();
  Run_RemoveTempDirectory();
  Run_FreeWorld();
  Particle_FreeAll();
  DS_FreeAll();
  FileTables_CloseAll();
  RegistryList_Clear();
  Achievements_Free();
  DPlay_Free();
  Sound_FreeAll();
  DataFile_FreeAll();
  Profiler_DumpFPS();
  Graphics_Shutdown();
  Window_Destroy();
}
}  // namespace

void StartUp_InstallHooks() {
  Code_SetWorld({Run_CollectTargets, Resource_FindByName});
  Timing_SetPumpMessages(Run_ProcessMessages);
  Window_SetOnPauseEvent(Kivo_OSPauseEvent_Raise);
  ShowMessage_SetOwner(Window_GetCaption, [] { return static_cast<void*>(Window_Handle()); });
  Error_SetDebugRefresh(Debug_Update);
  IO_SetStartStepPoll(LoginAsync_Poll);
  Transition_SetScriptFinder(Script_Find);
  HTTP_SetEventSender(Run_AsyncEvent);
  Sprite_SetDownloader(Resource_StartSpriteDownload);
  Effect_SetAreaSize(Graphics_TiledArea);
  Gtk_SetModalPump(Run_ModalPump);
  Error_SetDialog(ErrorDialog_Show);
  Text_SetProfiler(Profiler_Begin, Profiler_End);
  Run_SetPlatformConstants(Kivo_Functions_InitConstants);
  Run_SetPlatformVariables(Kivo_Functions_InitVariables);
}

int StartUp_Main(int argc, char** argv) {
  if (CommandLine_Informational(argc, argv)) return 0;
  std::setlocale(LC_NUMERIC, "C");
  StartUp_InstallHooks();
  Run_SetArguments(argc, argv);
  std::string file = FindGameFile(argc, argv);
  if (file.empty()) {
    Console_Printf("No game to run: put data.win beside the runner or give -game FILE.\n");
    return 1;
  }

  // Every area's start-up state.
  Code_Init();
  Constant_Init_World();
  Variable_Init_World();
  Highscore_Clear();
  IO_Clear();

  GamePackage pkg;
  std::string error;
  if (!DataFile_LoadPackage(file.c_str(), pkg, error)) return 1;
  char* folder = File_ExtractDirectory(file.c_str());
  std::string game_folder = folder && *folder ? folder : "./";
  MemoryManager::Free(folder);
  File_SetGameDirectory(game_folder.c_str());
  g_CommandLine.debug = g_CommandLine.debug || Option_IniDebug(game_folder);
  CopyOptions(pkg.options);

  Console_Printf("Get Resolution\n");
  Package_Version = pkg.general.version;
  Debug_Mode = g_CommandLine.debug || pkg.general.debug;
  Debug_Flags = Debug_Mode ? 2 : 0;
  std::string save = LoadSave_SaveFolder(pkg.general.name.c_str());
  File_SetSaveDirectory(save.c_str());
  DataFile_SetFolders(game_folder, Run_TempDirectory());
  Highscore_Load();
  InitCWLFunctions();

  Console_Printf("Create Window\n");
  if (!Window_Create(pkg.general.caption.c_str(), pkg.general.window_width, pkg.general.window_height)) {
    ShowMessage("Failed to create the game window.");
    return 1;
  }
  Console_Printf("Init Graphics\n");
  if (!Graphics_Init()) {
    ShowMessage("Failed to initialise the graphics device.");
    Window_Destroy();
    return 1;
  }
  Profiler_Init();
  DebugOverlay_SetGame(pkg.general.name.c_str(), int(pkg.general.major), int(pkg.general.minor));
  Window_SetVisible(true);
  GR_SetCirclePrecision(24);
  GR_SetInterpolation(pkg.options.interpolate);
  IO_Clear();
  for (int i = 0; i < 5; i++) {
    GR_D3D_Start_Frame();
    Graphics_Clear(0xFF000000u);
    GR_D3D_Finish_Frame();
    Run_ProcessMessages();
  }
  Particle_CreateTextures();
  Console_Printf("Create Score Form\n");
  Console_Printf("Create Load Form\n");
  Console_Printf("Create Error Form\n");

  Sound_StartUp();
  if (!g_CommandLine.record.empty() && !IO_Record_Start(g_CommandLine.record.c_str()))
    Console_Printf("Cannot record the input to %s\n", g_CommandLine.record.c_str());
  if (!g_CommandLine.playback.empty() && !IO_Playback_Start(g_CommandLine.playback.c_str()))
    Console_Printf("Cannot play the input back from %s\n", g_CommandLine.playback.c_str());
  Random_Seed(2101988);
  Extension_LoadFromChunk(pkg);
  Graphics_LoadPackage(pkg);
  Sound_LoadPackage(pkg);
  if (!PrepareGame(pkg)) {
    ShutDown();
    return 1;
  }
  if (!StartGame()) {
    ShutDown();
    return 1;
  }
  Run_Start();
  while (Run_Running == 1) {
    Run_Frame();
    Run_ProcessMessages();
  }
  int status = Run_ExitStatus();
  ShutDown();
  return status;
}
