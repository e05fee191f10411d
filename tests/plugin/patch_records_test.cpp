// Everything Start writes into the game and every hook it installs, listed literally in the order
// it is written, for a game version that selects each hook mode. A single wrong byte, address,
// kind, mode or convention fails here, and every recorded byte must be in the game's code.
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "game/game_session.h"
#include "game/x86_code.h"
#include "splicer/splicer_library.h"

namespace {

using standin::splicer::HookRecord;
using standin::splicer::WriteRecord;

struct Write {
  const char* instance;
  uint32_t address;
  std::vector<uint8_t> bytes;
};

std::vector<Write> Bytes(const char* instance,
                         std::initializer_list<std::pair<uint32_t, uint8_t>> writes) {
  std::vector<Write> list;
  for (auto [address, value] : writes) list.push_back({instance, address, {value}});
  return list;
}

std::vector<uint8_t> Hex(const char* text) {
  std::vector<uint8_t> bytes;
  std::istringstream in(text);
  unsigned value;
  while (in >> std::hex >> value) bytes.push_back(static_cast<uint8_t>(value));
  return bytes;
}

// One pixel loop: the byte writes before its code, the code, the byte writes after.
void AddLoop(std::vector<Write>& list, std::initializer_list<std::pair<uint32_t, uint8_t>> before,
             uint32_t code_address, const char* code,
             std::initializer_list<std::pair<uint32_t, uint8_t>> after) {
  for (Write& write : Bytes("QZ.True32", before)) list.push_back(write);
  list.push_back({"QZ.True32", code_address, Hex(code)});
  for (Write& write : Bytes("QZ.True32", after)) list.push_back(write);
}

std::vector<Write> ExpectedWrites() {
  std::vector<Write> list = Bytes("QZ.True32", {{0x4F0684, 0x88}});
  const char* kIndirect = "8B 00 90 85 C0 90 74 09 89 07 90";
  AddLoop(list, {{0x5FA18E, 0x2C}, {0x5FA19C, 0x2C}, {0x5FA1C7, 0xB9}, {0x5FA213, 0x81}}, 0x5FA214,
          "8B 00 90 85 C0 90 74 0C 8B 5D FC 89 03 90",
          {{0x5FA22B, 0x04}, {0x5FA24F, 0x31}, {0x5FA255, 0x30}});
  AddLoop(list, {{0x5FA737, 0x2C}, {0x5FA748, 0x2C}, {0x5FA759, 0xB7}, {0x5FA779, 0x83}}, 0x5FA77A,
          kIndirect, {{0x5FA78D, 0x04}, {0x5FA7B0, 0x30}, {0x5FA7B9, 0x38}});
  AddLoop(list, {{0x5FA909, 0x2C}, {0x5FA91A, 0x2C}, {0x5FA92B, 0xB7}, {0x5FA947, 0x83}}, 0x5FA948,
          kIndirect, {{0x5FA95B, 0x04}, {0x5FA97E, 0x30}, {0x5FA987, 0x38}});
  AddLoop(list, {{0x5F976E, 0x2C}, {0x5F977D, 0x2C}, {0x5F978E, 0x9F}, {0x5F97B1, 0x8F}}, 0x5F97B2,
          "8B 09 90 85 C9 90 74 08 89 0E 90",
          {{0x5F97C4, 0x04}, {0x5F97E7, 0x39}, {0x5F97F0, 0x31}});
  AddLoop(list, {{0x5F9847, 0x2C}, {0x5F9852, 0x2C}, {0x5F98DB, 0x8F}}, 0x5F98DC,
          "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90",
          {{0x5F98EF, 0x04}, {0x5F9922, 0x08}, {0x5F992B, 0x38}});
  AddLoop(list, {{0x5F9AFF, 0x2C}, {0x5F9B0E, 0x2C}, {0x5F9B1F, 0x9F}, {0x5F9B42, 0x8F}}, 0x5F9B43,
          "8B 09 90 85 C9 90 74 08 89 0E 90",
          {{0x5F9B55, 0x04}, {0x5F9B7B, 0x39}, {0x5F9B81, 0x31}});
  AddLoop(list, {{0x5F9BD8, 0x2C}, {0x5F9BE3, 0x2C}, {0x5F9C6C, 0x8F}}, 0x5F9C6D,
          "8B 09 90 85 C9 90 74 06 8B 7D 10 89 0F 90",
          {{0x5F9C80, 0x04}, {0x5F9CB3, 0x10}, {0x5F9CBC, 0x38}});
  AddLoop(list, {{0x5FA4E8, 0x2C}, {0x5FA4F6, 0x2C}, {0x5FA507, 0x9F}, {0x5FA526, 0x87}}, 0x5FA527,
          "8B 00 90 85 C0 90 74 09 89 06 90",
          {{0x5FA53A, 0x04}, {0x5FA560, 0x38}, {0x5FA566, 0x30}});
  AddLoop(list, {{0x5F93EE, 0x2C}, {0x5F9400, 0x2C}, {0x5F9411, 0xBF}, {0x5F9431, 0x8B}}, 0x5F9432,
          "8B 09 90 85 C9 90 74 08 89 0F 90",
          {{0x5F9444, 0x04}, {0x5F9467, 0x31}, {0x5F9470, 0x39}});
  AddLoop(list, {{0x5F94C6, 0x2C}, {0x5F94D5, 0x2C}, {0x5F9509, 0xBB}, {0x5F9553, 0x8B}}, 0x5F9554,
          "8B 09 90 85 C9 90 74 0B 8B 45 08 89 08 90",
          {{0x5F956A, 0x04}, {0x5F9594, 0x19}, {0x5F959A, 0x39}});
  AddLoop(list, {{0x5F8DB3, 0x2C}, {0x5F8DC2, 0x2C}, {0x5F8DD3, 0xB3}, {0x5F8DF6, 0x8B}}, 0x5F8DF7,
          "8B 09 90 85 C9 90 74 08 89 0E 90",
          {{0x5F8E09, 0x04}, {0x5F8E2F, 0x39}, {0x5F8E35, 0x31}});
  AddLoop(list, {{0x5F8E8B, 0x2C}, {0x5F8E9A, 0x2C}, {0x5F8ECF, 0xBB}, {0x5F8F17, 0x8B}}, 0x5F8F18,
          "8B 09 90 85 C9 90 74 0B 8B 45 14 89 08 90",
          {{0x5F8F2E, 0x04}, {0x5F8F52, 0x32}, {0x5F8F58, 0x3A}});
  AddLoop(list, {{0x5F9EEF, 0x2C}, {0x5F9F00, 0x2C}, {0x5F9F11, 0xB7}, {0x5F9F31, 0x83}}, 0x5F9F32,
          kIndirect, {{0x5F9F45, 0x04}, {0x5F9F77, 0x10}, {0x5F9F7D, 0x38}});
  AddLoop(list, {{0x5FA084, 0x2C}, {0x5FA095, 0x2C}, {0x5FA0A6, 0xB7}, {0x5FA0C6, 0x83}}, 0x5FA0C7,
          kIndirect, {{0x5FA0DA, 0x04}, {0x5FA103, 0x10}, {0x5FA112, 0x38}});
  for (Write& write : Bytes("QZ.True32", {{0x600A54, 0x20},
                                          {0x6009C2, 0x20},
                                          {0x600B34, 0x20},
                                          {0x601B1E, 0x20},
                                          {0x601A67, 0x20},
                                          {0x602116, 0x20},
                                          {0x5975A3, 0xB2},
                                          {0x44D677, 0xBE},
                                          {0x44DAC4, 0x8E}})) {
    list.push_back(write);
  }
  // The cursors' code, then the window's: a jump to 0x601C4E, two short jumps, the window style.
  list.push_back({"QZ.PRX", 0x50D004, {0x90, 0x90, 0x90}});
  list.push_back({"QZ.PRX", 0x50D825, {0x90, 0x90, 0x90}});
  list.push_back({"QZ.PRX", 0x601C25, {0xE9, 0x24, 0x00, 0x00, 0x00}});
  list.push_back({"QZ.PRX", 0x4EDD1B, {0xEB}});
  list.push_back({"QZ.PRX", 0x602124, {0xEB}});
  for (uint32_t operand : {0x60216Cu, 0x4F81A2u, 0x602243u}) {
    list.push_back({"QZ.PRX", operand, {0x00, 0x00, 0xCF, 0x10}});
  }
  return list;
}

struct Hook {
  const char* instance;
  uint32_t address;
  int32_t kind;
  int32_t mode;  // -1: the mode the version selects
  int32_t convention;
};

std::vector<Hook> ExpectedHooks() {
  std::vector<Hook> list = {{"QZ.True32", 0x5A5750, 1, -1, 1}, {"QZ.True32", 0x55A8F0, 1, -1, 2},
                            {"QZ.True32", 0x603380, 1, 0, 1},  {"QZ.True32", 0x6036A0, 1, 0, 1},
                            {"QZ.True32", 0x6038A0, 1, 0, 1},  {"QZ.True32", 0x63A458, 2, -1, 0},
                            {"QZ.True32", 0x63A454, 2, -1, 0}, {"QZ.True32", 0x597DC1, 0, -1, 1}};
  for (uint32_t routine :
       {0x44ECE0u, 0x44F940u, 0x4B4F00u, 0x44DC40u, 0x44DD20u, 0x44DE00u, 0x44DF20u, 0x44DF80u,
        0x44E0C0u, 0x44E190u, 0x44E210u, 0x44E2C0u, 0x44E370u, 0x44E450u, 0x44E610u, 0x47BE90u,
        0x47C300u, 0x47C9C0u, 0x47CE10u, 0x47D250u, 0x47D660u, 0x47E140u, 0x47E880u}) {
    list.push_back({"QZ.True32", routine, 1, 0, 1});
  }
  const std::vector<Hook> window_and_cursors = {
      {"QZ.PRX", 0x50CEA0, 1, 0, 1},  {"QZ.PRX", 0x50DAB0, 1, 0, 1},
      {"QZ.PRX", 0x50CF90, 1, -1, 1}, {"QZ.PRX", 0x600430, 1, -1, 1},
      {"QZ.PRX", 0x603000, 1, -1, 1}, {"QZ.PRX", 0x4F8290, 1, 0, 0},
      {"QZ.PRX", 0x601ACC, 0, 0, 0},  {"QZ.PRX", 0x60225C, 0, 0, 0},
      {"QZ.PRX", 0x4F81C7, 0, 0, 0},  {"QZ.PRX", 0x63A304, 2, 0, 0},
      {"QZ.PRX", 0x63A2A0, 2, 0, 0},  {"QZ.PRX", 0x63A308, 2, 0, 0},
      {"QZ.PRX", 0x4F8290, 1, 0, 0},  {"QZ.PRX", 0x60306D, -1, 0, 0},  // the register hook
      {"QZ.PRX", 0x4F86F0, 1, -1, 1}, {"QZ.PRX", 0x4F812E, 0, -1, 0}};
  list.insert(list.end(), window_and_cursors.begin(), window_and_cursors.end());
  return list;
}

class PatchRecords : public ::testing::TestWithParam<int32_t> {};

TEST_P(PatchRecords, AreExactlyTheGamesPatchTableInOrderAndLandInTheGame) {
  standin::host::Settings settings;
  settings.exe_version = GetParam();
  standin::game::GameSession session;
  standin::game::StartGame(session, settings, false);

  const std::vector<Write> writes = ExpectedWrites();
  const std::vector<WriteRecord>& recorded = standin::splicer::Writes();
  ASSERT_EQ(recorded.size(), writes.size());
  for (size_t i = 0; i < writes.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "write " << i << " at " << std::hex << writes[i].address);
    EXPECT_EQ(recorded[i].instance, writes[i].instance);
    EXPECT_EQ(recorded[i].address, writes[i].address);
    EXPECT_EQ(recorded[i].bytes, writes[i].bytes);
    EXPECT_EQ(std::memcmp(standin::Bytes(recorded[i].address), recorded[i].bytes.data(),
                          recorded[i].bytes.size()),
              0)
        << "what was recorded is in the game";
  }

  const int32_t version_mode = (GetParam() & 1) != 0 ? 1 : 2;
  const std::vector<Hook> hooks = ExpectedHooks();
  const std::vector<HookRecord>& installed = standin::splicer::Hooks();
  ASSERT_EQ(installed.size(), hooks.size());
  for (size_t i = 0; i < hooks.size(); ++i) {
    SCOPED_TRACE(::testing::Message() << "hook " << i << " at " << std::hex << hooks[i].address);
    EXPECT_EQ(installed[i].instance, hooks[i].instance);
    EXPECT_EQ(installed[i].address, hooks[i].address);
    EXPECT_EQ(installed[i].kind, hooks[i].kind);
    EXPECT_EQ(installed[i].mode, hooks[i].mode < 0 ? version_mode : hooks[i].mode);
    EXPECT_EQ(installed[i].convention, hooks[i].convention);
    EXPECT_TRUE(installed[i].active);
  }
}

INSTANTIATE_TEST_SUITE_P(EvenAndOddVersions, PatchRecords, ::testing::Values(4, 7));

}  // namespace
