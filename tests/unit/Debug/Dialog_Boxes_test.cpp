// The boxes without a display: queued answers, cancelled answers and the
// limits of the texts.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "Base/Console.h"
#include "Base/Dialog_Answers.h"
#include "Code/Code_Error.h"
#include "Debug/Dialog_Main.h"
#include "Function/Function_Data_Structures.h"
#include "Function_Call.h"
#include "IO/HTTP_Main.h"

namespace {
class DialogBoxes : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    DialogAnswers_Set("");
  }
  void TearDown() override { DialogAnswers_Set(""); }
};

TEST(DialogAnswers, ButtonsWithUpToTwoTexts) {
  DialogAnswers_Set("OK:Alice;;Cancel;OK:alice:se:cret;OK:");
  DialogAnswer a;
  ASSERT_TRUE(DialogAnswers_Next(&a));
  EXPECT_EQ(a.button, "OK");
  EXPECT_TRUE(a.hasText);
  EXPECT_EQ(a.text, "Alice");
  EXPECT_FALSE(a.hasText2);
  ASSERT_TRUE(DialogAnswers_Next(&a));  // the empty item is skipped
  EXPECT_EQ(a.button, "Cancel");
  EXPECT_FALSE(a.hasText);
  ASSERT_TRUE(DialogAnswers_Next(&a));
  EXPECT_EQ(a.text, "alice");
  EXPECT_EQ(a.text2, "se:cret");  // the second text keeps its colons
  ASSERT_TRUE(DialogAnswers_Next(&a));
  EXPECT_TRUE(a.hasText);  // an empty text is a text: it clears the field
  EXPECT_EQ(a.text, "");
  EXPECT_FALSE(DialogAnswers_Next(&a));
}

TEST_F(DialogBoxes, WithoutAnswersEveryBoxIsCancelled) {
  std::string result;
  EXPECT_FALSE(InputQuery_Show("Caption", "Prompt", "default", &result));
  EXPECT_EQ(result, "default");
  EXPECT_FALSE(Question_Show("Caption", "Sure?"));
  ErrorForm.text = "problem";
  ErrorForm.showIgnore = true;
  EXPECT_EQ(ErrorDialog_Show(), ERROR_DIALOG_IGNORE);
  ErrorForm.showIgnore = false;
  EXPECT_EQ(ErrorDialog_Show(), ERROR_DIALOG_ABORT);
}

TEST_F(DialogBoxes, AnIgnoreThatIsNotOfferedIsNotTaken) {
  DialogAnswers_Set("Ignore;Abort");
  ErrorForm.text = "fatal";
  ErrorForm.showIgnore = false;
  EXPECT_EQ(ErrorDialog_Show(), ERROR_DIALOG_ABORT);
  DialogAnswer left;
  EXPECT_FALSE(DialogAnswers_Next(&left));
}

TEST_F(DialogBoxes, TextLimitsCutAtCharacterBoundaries) {
  // 2,049 bytes and a two-byte character: the default keeps 2,049 bytes.
  std::string def = std::string(2049, 'a') + "\xC3\xA9" + "tail";
  std::string result;
  EXPECT_FALSE(InputQuery_Show("C", "P", def.c_str(), &result));
  EXPECT_EQ(result, std::string(2049, 'a'));
  // The typed text keeps at most 1,023 bytes, whole characters only.
  std::string typed = std::string(1022, 'b') + "\xE2\x82\xAC";
  DialogAnswers_Set(("OK:" + typed).c_str());
  EXPECT_TRUE(InputQuery_Show("C", "P", "x", &result));
  EXPECT_EQ(result, std::string(1022, 'b'));
  // OK without typing gives the default as the box holds it, cut to 1,023.
  DialogAnswers_Set("OK");
  EXPECT_TRUE(InputQuery_Show("C", "P", def.c_str(), &result));
  EXPECT_EQ(result, std::string(1023, 'a'));
}

TEST_F(DialogBoxes, TextsThatAreNotUtf8AreShownWithReplacements) {
  static std::string logged;
  logged.clear();
  g_ConsoleListener = [](const char* line) { logged += line; };
  std::string result;
  InputQuery_Show("Caf\xE9", "P", "d\xE9j\xE0", &result);
  g_ConsoleListener = nullptr;
  EXPECT_NE(logged.find("\"Caf\xEF\xBF\xBD\""), std::string::npos) << logged;
  EXPECT_NE(logged.find("\"d\xEF\xBF\xBDj\xEF\xBF\xBD\""), std::string::npos) << logged;
  EXPECT_EQ(result, "d\xE9j\xE0");  // the game gets its own bytes back
}

TEST_F(DialogBoxes, TheLoginAnswersOnceAndKeepsItsOwnTexts) {
  DialogAnswers_Set("OK:alice:secret;OK:zed");
  LoginAsync_State = 1;
  EXPECT_EQ(LoginAsync_Show("bob", "pw"), 1);
  EXPECT_EQ(LoginAsync_State, 2);
  std::string typed;
  InputQuery_Show("C", "P", "", &typed);  // an input box meanwhile
  EXPECT_EQ(typed, "zed");
  static std::string heard;
  heard.clear();
  HTTP_SetEventSender([](int event, int map) {
    heard = std::to_string(event) + " " + CallText("ds_map_find_value", {map, "username"}) + " " +
            CallText("ds_map_find_value", {map, "password"}) + " " +
            std::to_string(static_cast<int>(CallReal("ds_map_find_value", {map, "status"})));
    DS_Map_Destroy(map);
  });
  LoginAsync_Poll();
  LoginAsync_Poll();  // one answer, however often the step looks
  EXPECT_EQ(HTTP_CountRecords(-1), 1);
  HTTP_DeliverFinished();
  HTTP_SetEventSender(nullptr);
  EXPECT_EQ(heard, "63 alice secret 1");
  EXPECT_EQ(LoginAsync_State, 0);
}
}  // namespace
