#include "terminal/link/settings/settings_form.h"

#include <cstdint>

#include "terminal/link/settings/settings_ids.h"
#include "terminal/link/settings/settings_lists.h"

const CheckBoxField CheckBoxTable[CheckBoxCount] = {
    {IDC_SETTINGS_DTR_DSR, &SettingsForm::dtrDsr},
    {IDC_SETTINGS_RTS_CTS, &SettingsForm::rtsCts},
    {IDC_SETTINGS_XON_XOFF, &SettingsForm::xonXoff},
    {IDC_SETTINGS_AUTO_WRAP, &SettingsForm::autoWrap},
    {IDC_SETTINGS_NEW_LINE, &SettingsForm::newLine},
    {IDC_SETTINGS_LOCAL_ECHO, &SettingsForm::localEcho},
    {IDC_SETTINGS_CN_RECEIVE, &SettingsForm::cnReceive},
    {IDC_SETTINGS_DISPLAY_ERRORS, &SettingsForm::displayErrors},
};

namespace {

template <typename Field, typename Value>
void StoreIfChosen(Field& field, const std::optional<Value>& chosen) {
  if (chosen) field = Field(*chosen);
}

}  // namespace

SettingsForm FormFromState(const TerminalState& state) {
  SettingsForm form{};
  form.portPosition = PortPosition(state.portNumber);
  form.portEnabled = !state.connected;
  form.baudRatePosition = PositionOfValue(BaudRateList, state.baudRate);
  form.dataBitsPosition = DataBitsPosition(state.byteSize);
  form.parityPosition = PositionOfValue(ParityList, state.parity);
  form.stopBitsPosition = PositionOfValue(StopBitsList, state.stopBits);
  form.dtrDsr = (state.flowControl & FlowDtrDsr) != 0;
  form.rtsCts = (state.flowControl & FlowRtsCts) != 0;
  form.xonXoff = (state.flowControl & FlowXonXoff) != 0;
  form.autoWrap = state.autoWrap != 0;
  form.newLine = state.newLine != 0;
  form.localEcho = state.localEcho != 0;
  form.cnReceive = false;
  form.displayErrors = state.displayErrors != 0;
  return form;
}

void StoreForm(const SettingsForm& form, TerminalState& state) {
  StoreIfChosen(state.portNumber, PortNumberAtPosition(form.portPosition));
  StoreIfChosen(state.baudRate, ValueAtPosition(BaudRateList, form.baudRatePosition));
  StoreIfChosen(state.byteSize, DataBitsAtPosition(form.dataBitsPosition));
  StoreIfChosen(state.parity, ValueAtPosition(ParityList, form.parityPosition));
  StoreIfChosen(state.stopBits, ValueAtPosition(StopBitsList, form.stopBitsPosition));
  state.flowControl = std::uint8_t((form.dtrDsr ? FlowDtrDsr : 0) | (form.rtsCts ? FlowRtsCts : 0) |
                                   (form.xonXoff ? FlowXonXoff : 0));
  state.autoWrap = form.autoWrap ? 1 : 0;
  state.newLine = form.newLine ? 1 : 0;
  state.localEcho = form.localEcho ? 1 : 0;
  state.useCnReceive = form.cnReceive ? 1 : 0;
  state.displayErrors = form.displayErrors ? 1 : 0;
}
