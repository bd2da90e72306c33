#include "terminal/link/settings/settings_form.h"

#include <gtest/gtest.h>

#include <set>

#include "terminal/link/settings/settings_ids.h"
#include "terminal/link/settings/settings_lists.h"
#include "tests/dialogs/default_record.h"

namespace {

bool Checked(const SettingsForm& form, int controlId) {
  for (const CheckBoxField& box : CheckBoxTable) {
    if (box.controlId == controlId) return form.*box.checked;
  }
  ADD_FAILURE() << "no check box " << controlId;
  return false;
}

void Check(SettingsForm& form, int controlId, bool checked) {
  for (const CheckBoxField& box : CheckBoxTable) {
    if (box.controlId == controlId) form.*box.checked = checked;
  }
}

TEST(SettingsFormOpening, ANewTerminalShowsItsDefaults) {
  auto state = NewDefaultRecord();
  SettingsForm form = FormFromState(*state);
  EXPECT_EQ(PortEntryText("COM", form.portPosition), "COM5");
  EXPECT_STREQ(BaudRateTable[form.baudRatePosition].text, "1000k");
  EXPECT_EQ(DataBitsEntryText(form.dataBitsPosition), "8");
  EXPECT_STREQ(ParityTable[form.parityPosition].text, "なし");
  EXPECT_STREQ(StopBitsTable[form.stopBitsPosition].text, "1");
  EXPECT_TRUE(form.portEnabled);
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_DTR_DSR));
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_RTS_CTS));
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_XON_XOFF));
  EXPECT_TRUE(Checked(form, IDC_SETTINGS_AUTO_WRAP));
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_NEW_LINE));
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_LOCAL_ECHO));
  EXPECT_TRUE(Checked(form, IDC_SETTINGS_DISPLAY_ERRORS));
}

TEST(SettingsFormOpening, TheCnReceiveBoxIsNeverSetFromTheRecord) {
  auto state = NewDefaultRecord();
  ASSERT_EQ(state->useCnReceive, 1);
  EXPECT_FALSE(Checked(FormFromState(*state), IDC_SETTINGS_CN_RECEIVE));
}

TEST(SettingsFormOpening, ThePortListIsDisabledWhileConnected) {
  auto state = NewDefaultRecord();
  state->connected = 1;
  EXPECT_FALSE(FormFromState(*state).portEnabled);
}

TEST(SettingsFormOpening, EachFlowControlBitChecksItsOwnBox) {
  auto state = NewDefaultRecord();
  const int boxes[] = {IDC_SETTINGS_DTR_DSR, IDC_SETTINGS_RTS_CTS, IDC_SETTINGS_XON_XOFF};
  for (int bit = 0; bit < 3; ++bit) {
    state->flowControl = std::uint8_t(1 << bit);
    SettingsForm form = FormFromState(*state);
    for (int box = 0; box < 3; ++box) EXPECT_EQ(Checked(form, boxes[box]), box == bit) << bit;
  }
}

TEST(SettingsFormOpening, AnyNonZeroOptionChecksItsBox) {
  auto state = NewDefaultRecord();
  state->autoWrap = 0;
  state->newLine = 7;
  state->localEcho = -1;
  state->displayErrors = 0;
  SettingsForm form = FormFromState(*state);
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_AUTO_WRAP));
  EXPECT_TRUE(Checked(form, IDC_SETTINGS_NEW_LINE));
  EXPECT_TRUE(Checked(form, IDC_SETTINGS_LOCAL_ECHO));
  EXPECT_FALSE(Checked(form, IDC_SETTINGS_DISPLAY_ERRORS));
}

TEST(SettingsFormOpening, OddParityShowsTheThirdEntry) {
  auto state = NewDefaultRecord();
  state->parity = 1;
  EXPECT_STREQ(ParityTable[FormFromState(*state).parityPosition].text, "奇数");
  state->parity = 2;
  EXPECT_STREQ(ParityTable[FormFromState(*state).parityPosition].text, "偶数");
}

TEST(SettingsFormOpening, ValuesWithoutAnEntryLeaveTheirListsUnselected) {
  auto state = NewDefaultRecord();
  state->portNumber = 0;
  state->baudRate = 19200;
  state->byteSize = 9;
  state->parity = 9;
  state->stopBits = 3;
  SettingsForm form = FormFromState(*state);
  EXPECT_EQ(form.portPosition, NoSelection);
  EXPECT_EQ(form.baudRatePosition, NoSelection);
  EXPECT_EQ(form.dataBitsPosition, NoSelection);
  EXPECT_EQ(form.parityPosition, NoSelection);
  EXPECT_EQ(form.stopBitsPosition, NoSelection);
}

TEST(SettingsFormStoring, OkWithTheDefaultsChangesOnlyTheCnReceiveFlag) {
  auto state = NewDefaultRecord();
  StoreForm(FormFromState(*state), *state);
  EXPECT_EQ(state->portNumber, 5);
  EXPECT_EQ(state->baudRate, 1000000u);
  EXPECT_EQ(state->byteSize, 8);
  EXPECT_EQ(state->parity, 0);
  EXPECT_EQ(state->stopBits, 0);
  EXPECT_EQ(state->flowControl, 0);
  EXPECT_EQ(state->autoWrap, 1);
  EXPECT_EQ(state->newLine, 0);
  EXPECT_EQ(state->localEcho, 0);
  EXPECT_EQ(state->displayErrors, 1);
  EXPECT_EQ(state->useCnReceive, 0);
}

TEST(SettingsFormStoring, ChosenEntriesBecomeRecordValues) {
  auto state = NewDefaultRecord();
  SettingsForm form = FormFromState(*state);
  form.portPosition = 20;      // TELNET
  form.baudRatePosition = 19;  // 750K
  form.dataBitsPosition = 2;   // 7
  form.parityPosition = 1;     // 偶数
  form.stopBitsPosition = 1;   // 1.5
  StoreForm(form, *state);
  EXPECT_EQ(state->portNumber, 21);
  EXPECT_EQ(state->baudRate, 750000u);
  EXPECT_EQ(state->byteSize, 7);
  EXPECT_EQ(state->parity, 2);
  EXPECT_EQ(state->stopBits, 1);
  form.parityPosition = 2;  // 奇数
  StoreForm(form, *state);
  EXPECT_EQ(state->parity, 1);
}

TEST(SettingsFormStoring, EveryListPositionSurvivesTheRoundTrip) {
  auto state = NewDefaultRecord();
  for (int position = 0; position < BaudRateList.count; ++position) {
    SettingsForm form = FormFromState(*state);
    form.baudRatePosition = position;
    form.portPosition = position % PortEntryCount;
    StoreForm(form, *state);
    SettingsForm reopened = FormFromState(*state);
    EXPECT_EQ(reopened.baudRatePosition, position);
    EXPECT_EQ(reopened.portPosition, position % PortEntryCount);
  }
}

TEST(SettingsFormStoring, FlowControlIsTheSumOfTheCheckedBoxes) {
  auto state = NewDefaultRecord();
  for (int bits = 0; bits < 8; ++bits) {
    SettingsForm form = FormFromState(*state);
    Check(form, IDC_SETTINGS_DTR_DSR, bits & 1);
    Check(form, IDC_SETTINGS_RTS_CTS, bits & 2);
    Check(form, IDC_SETTINGS_XON_XOFF, bits & 4);
    StoreForm(form, *state);
    EXPECT_EQ(state->flowControl, bits);
    EXPECT_EQ(FormFromState(*state).dtrDsr, (bits & 1) != 0);
  }
}

TEST(SettingsFormStoring, OptionsAreStoredAsOneOrZero) {
  auto state = NewDefaultRecord();
  SettingsForm form = FormFromState(*state);
  Check(form, IDC_SETTINGS_AUTO_WRAP, false);
  Check(form, IDC_SETTINGS_NEW_LINE, true);
  Check(form, IDC_SETTINGS_LOCAL_ECHO, true);
  Check(form, IDC_SETTINGS_DISPLAY_ERRORS, false);
  StoreForm(form, *state);
  EXPECT_EQ(state->autoWrap, 0);
  EXPECT_EQ(state->newLine, 1);
  EXPECT_EQ(state->localEcho, 1);
  EXPECT_EQ(state->displayErrors, 0);
}

TEST(SettingsFormStoring, WhileConnectedOkKeepsThePort) {
  auto state = NewDefaultRecord();
  state->portNumber = 12;
  state->connected = 1;
  SettingsForm form = FormFromState(*state);
  form.baudRatePosition = 24;
  StoreForm(form, *state);
  EXPECT_EQ(state->portNumber, 12);
  EXPECT_EQ(state->baudRate, 3000000u);
}

TEST(SettingsFormStoring, AListWithoutSelectionKeepsItsField) {
  auto state = NewDefaultRecord();
  state->portNumber = 40;
  state->baudRate = 19200;
  state->byteSize = 4;
  state->parity = 9;
  state->stopBits = 7;
  StoreForm(FormFromState(*state), *state);
  EXPECT_EQ(state->portNumber, 40);
  EXPECT_EQ(state->baudRate, 19200u);
  EXPECT_EQ(state->byteSize, 4);
  EXPECT_EQ(state->parity, 9);
  EXPECT_EQ(state->stopBits, 7);
}

TEST(SettingsFormCheckBoxes, EightBoxesEachWithItsOwnField) {
  std::set<int> ids;
  SettingsForm form{};
  for (const CheckBoxField& box : CheckBoxTable) {
    ids.insert(box.controlId);
    form.*box.checked = true;
  }
  EXPECT_EQ(ids, (std::set<int>{549, 550, 551, 552, 553, 554, 556, 557}));
  // Every field was reached once: no two boxes share one.
  EXPECT_TRUE(form.dtrDsr && form.rtsCts && form.xonXoff && form.autoWrap && form.newLine &&
              form.localEcho && form.cnReceive && form.displayErrors);
}

}  // namespace
