#include "cli/key_names.h"

#include "terminal/input/virtual_keys.h"

namespace {

struct NamedKey {
  const char* name;
  unsigned virtualKey;
  bool shifted;  // typed with Shift on a JIS keyboard
};

// Keys whose names are not a run over letters, digits, F-keys or keypad digits.
constexpr NamedKey NamedKeys[] = {
    {"Return", VkReturn, false},     {"Escape", VkEscape, false},       {"BackSpace", VkBack, false},
    {"Tab", VkTab, false},           {"space", VkSpace, false},         {"minus", VkOemMinus, false},
    {"asciicircum", VkOem7, false},  {"yen", VkOem5, false},            {"at", VkOem3, false},
    {"bracketleft", VkOem4, false},  {"semicolon", VkOemPlus, false},   {"colon", VkOem1, false},
    {"bracketright", VkOem6, false}, {"comma", VkOemComma, false},      {"period", VkOemPeriod, false},
    {"slash", VkOem2, false},        {"backslash", VkOem8, false},      {"exclam", '1', true},
    {"quotedbl", '2', true},         {"numbersign", '3', true},         {"dollar", '4', true},
    {"percent", '5', true},          {"ampersand", '6', true},          {"apostrophe", '7', true},
    {"parenleft", '8', true},        {"parenright", '9', true},         {"equal", VkOemMinus, true},
    {"asciitilde", VkOem7, true},    {"bar", VkOem5, true},             {"grave", VkOem3, true},
    {"braceleft", VkOem4, true},     {"plus", VkOemPlus, true},         {"asterisk", VkOem1, true},
    {"braceright", VkOem6, true},    {"less", VkOemComma, true},        {"greater", VkOemPeriod, true},
    {"question", VkOem2, true},      {"underscore", VkOem8, true},      {"Pause", VkPause, false},
    {"Prior", VkPrior, false},       {"Page_Up", VkPrior, false},       {"Next", VkNext, false},
    {"Page_Down", VkNext, false},    {"End", VkEnd, false},             {"Home", VkHome, false},
    {"Left", VkLeft, false},         {"Up", VkUp, false},               {"Right", VkRight, false},
    {"Down", VkDown, false},         {"Insert", VkInsert, false},       {"Delete", VkDelete, false},
    {"Menu", VkApps, false},         {"KP_Multiply", VkMultiply, false}, {"KP_Add", VkAdd, false},
    {"KP_Separator", VkSeparator, false}, {"KP_Subtract", VkSubtract, false},
    {"KP_Decimal", VkDecimal, false}, {"KP_Divide", VkDivide, false},  {"Caps_Lock", VkCapital, false},
    {"Kana_Lock", VkKana, false},    {"Muhenkan", VkNonConvert, false},
};

struct HeldKey {
  const char* name;
  unsigned virtualKey;
};

// The keys that may be held while another key is typed.
constexpr HeldKey HeldKeys[] = {
    {"shift", VkShift},     {"Shift_L", VkShift},   {"Shift_R", VkShift},   {"ctrl", VkControl},
    {"control", VkControl}, {"Control_L", VkControl}, {"Control_R", VkControl}, {"alt", VkMenu},
    {"Alt_L", VkMenu},      {"Alt_R", VkMenu},      {"super", VkLWin},      {"Super_L", VkLWin},
    {"Super_R", VkRWin},
};

struct Stroke {
  std::vector<unsigned> held;
  NamedKey key;
};

bool FindHeldKey(std::string_view name, unsigned& virtualKey) {
  for (const HeldKey& key : HeldKeys) {
    if (name == key.name) {
      virtualKey = key.virtualKey;
      return true;
    }
  }
  return false;
}

// "F1" to "F15", "KP_0" to "KP_9": the prefix and a number without leading zeros.
bool FindNumberedKey(std::string_view name, std::string_view prefix, int lowest, int highest,
                     unsigned firstKey, unsigned& virtualKey) {
  if (name.substr(0, prefix.size()) != prefix) return false;
  const std::string_view digits = name.substr(prefix.size());
  if (digits.empty() || digits.size() > 2 || (digits.size() == 2 && digits[0] == '0')) return false;
  int number = 0;
  for (const char c : digits) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + (c - '0');
  }
  if (number < lowest || number > highest) return false;
  virtualKey = firstKey + unsigned(number - lowest);
  return true;
}

bool FindSingleCharacterKey(std::string_view name, NamedKey& key) {
  if (name.size() != 1) return false;
  const char c = name[0];
  if (c >= 'a' && c <= 'z') key = {"", unsigned(c - 'a' + 'A'), false};
  if (c >= 'A' && c <= 'Z') key = {"", unsigned(c), true};
  if (c >= '0' && c <= '9') key = {"", unsigned(c), false};
  return key.virtualKey != 0;
}

bool FindNamedKey(std::string_view name, NamedKey& key) {
  for (const NamedKey& named : NamedKeys) {
    if (name == named.name) {
      key = named;
      return true;
    }
  }
  return false;
}

bool FindKey(std::string_view name, NamedKey& key) {
  key = {"", 0, false};
  return FindNamedKey(name, key) || FindSingleCharacterKey(name, key) ||
         FindNumberedKey(name, "F", 1, 15, VkF1, key.virtualKey) ||
         FindNumberedKey(name, "KP_", 0, 9, VkNumpad0, key.virtualKey) || FindHeldKey(name, key.virtualKey);
}

bool ParseStroke(std::string_view name, Stroke& stroke, std::string& error) {
  for (std::size_t plus; (plus = name.find('+')) != std::string_view::npos && plus + 1 < name.size();) {
    unsigned held = 0;
    if (!FindHeldKey(name.substr(0, plus), held)) {
      error = "\"" + std::string(name.substr(0, plus)) + "\" cannot be held: only shift, ctrl, alt and super can";
      return false;
    }
    stroke.held.push_back(held);
    name.remove_prefix(plus + 1);
  }
  if (FindKey(name, stroke.key)) return true;
  error = "no key is named \"" + std::string(name) + "\"";
  return false;
}

bool Holds(const Stroke& stroke, unsigned virtualKey) {
  for (const unsigned held : stroke.held) {
    if (held == virtualKey) return true;
  }
  return false;
}

// The strokes the window never turns into a key report.
bool RefuseWindowOnlyStroke(const Stroke& stroke, std::string& error) {
  const unsigned key = stroke.key.virtualKey;
  const bool alt = Holds(stroke, VkMenu) || key == VkMenu;
  if (key == VkF10 || (alt && !Holds(stroke, VkControl))) {
    error = "the window takes F10, and Alt with a key but without Ctrl, as system keys and sends no key "
            "report (ctrl+alt+KEY reaches the Alt row)";
  } else if ((key == VkPrior || key == VkNext) && stroke.held == std::vector<unsigned>{VkShift}) {
    error = "shift+Prior and shift+Next are the window's connect and disconnect commands: write connect or "
            "disconnect";
  } else {
    return false;
  }
  return true;
}

void AppendEvents(const Stroke& stroke, std::vector<KeyEvent>& events) {
  bool alt = false;
  for (const unsigned held : stroke.held) {
    alt = alt || held == VkMenu;
    events.push_back({held, true, alt});
  }
  events.push_back({stroke.key.virtualKey, true, alt});
  events.push_back({stroke.key.virtualKey, false, alt});
  for (auto held = stroke.held.rbegin(); held != stroke.held.rend(); ++held) {
    alt = alt && *held != VkMenu;
    events.push_back({*held, false, alt});
  }
}

}  // namespace

bool KeyEventsFromName(std::string_view name, std::vector<KeyEvent>& events, std::string& error) {
  Stroke stroke;
  if (!ParseStroke(name, stroke, error)) return false;
  if (stroke.key.shifted && !Holds(stroke, VkShift)) stroke.held.push_back(VkShift);
  if (RefuseWindowOnlyStroke(stroke, error)) return false;
  AppendEvents(stroke, events);
  return true;
}
