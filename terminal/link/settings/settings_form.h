// The state of the line settings dialog's controls, taken from the record when
// the dialog opens and stored into it on OK.
#pragma once

#include "terminal/model/terminal_state.h"

struct SettingsForm {
  int portPosition;      // NoSelection when a list has no selected entry
  bool portEnabled;      // the port cannot change while connected
  int baudRatePosition;
  int dataBitsPosition;
  int parityPosition;
  int stopBitsPosition;
  bool dtrDsr;
  bool rtsCts;
  bool xonXoff;
  bool autoWrap;
  bool newLine;
  bool localEcho;
  bool cnReceive;        // its box is always disabled and never set from the record
  bool displayErrors;
};

// A check box of the dialog and the form field that mirrors it.
struct CheckBoxField {
  int controlId;
  bool SettingsForm::*checked;
};

constexpr int CheckBoxCount = 8;
extern const CheckBoxField CheckBoxTable[CheckBoxCount];

SettingsForm FormFromState(const TerminalState& state);

// Stores what OK confirms. A list without a selected entry leaves its field
// as it was: the list offered no value to store.
void StoreForm(const SettingsForm& form, TerminalState& state);
