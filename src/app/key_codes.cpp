#include "app/key_codes.h"

#include <QKeyEvent>
#include <map>

namespace kelpie {

int keyCodeOf(const QKeyEvent* e) {
  const int k = e->key();
  const bool keypad = e->modifiers() & Qt::KeypadModifier;
  if (k >= Qt::Key_A && k <= Qt::Key_Z) return 'A' + (k - Qt::Key_A);
  if (k >= Qt::Key_0 && k <= Qt::Key_9) return (keypad ? 96 : '0') + (k - Qt::Key_0);
  if (k >= Qt::Key_F1 && k <= Qt::Key_F24) return 112 + (k - Qt::Key_F1);
  static const std::map<int, int> named{
      {Qt::Key_Backspace, 8},   {Qt::Key_Tab, 9},      {Qt::Key_Backtab, 9},
      {Qt::Key_Clear, 12},      {Qt::Key_Return, 13},  {Qt::Key_Enter, 13},
      {Qt::Key_Shift, 16},      {Qt::Key_Control, 17}, {Qt::Key_Alt, 18},
      {Qt::Key_AltGr, 18},      {Qt::Key_Pause, 19},   {Qt::Key_CapsLock, 20},
      {Qt::Key_Escape, 27},     {Qt::Key_Space, 32},   {Qt::Key_PageUp, 33},
      {Qt::Key_PageDown, 34},   {Qt::Key_End, 35},     {Qt::Key_Home, 36},
      {Qt::Key_Left, 37},       {Qt::Key_Up, 38},      {Qt::Key_Right, 39},
      {Qt::Key_Down, 40},       {Qt::Key_Print, 44},   {Qt::Key_Insert, 45},
      {Qt::Key_Delete, 46},     {Qt::Key_Meta, 91},    {Qt::Key_Super_L, 91},
      {Qt::Key_Super_R, 92},    {Qt::Key_Menu, 93},    {Qt::Key_NumLock, 144},
      {Qt::Key_ScrollLock, 145}};
  if (auto it = named.find(k); it != named.end()) return it->second;
  if (keypad) {
    static const std::map<int, int> pad{{Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},
                                        {Qt::Key_Minus, 109},    {Qt::Key_Period, 110},
                                        {Qt::Key_Comma, 110},    {Qt::Key_Slash, 111}};
    if (auto it = pad.find(k); it != pad.end()) return it->second;
  }
  // The punctuation keys of a US layout, shifted or not.
  static const std::map<int, int> punctuation{
      {Qt::Key_Semicolon, 186},    {Qt::Key_Colon, 186},      {Qt::Key_Equal, 187},
      {Qt::Key_Plus, 187},         {Qt::Key_Comma, 188},      {Qt::Key_Less, 188},
      {Qt::Key_Minus, 189},        {Qt::Key_Underscore, 189}, {Qt::Key_Period, 190},
      {Qt::Key_Greater, 190},      {Qt::Key_Slash, 191},      {Qt::Key_Question, 191},
      {Qt::Key_QuoteLeft, 192},    {Qt::Key_AsciiTilde, 192}, {Qt::Key_BracketLeft, 219},
      {Qt::Key_BraceLeft, 219},    {Qt::Key_Backslash, 220},  {Qt::Key_Bar, 220},
      {Qt::Key_BracketRight, 221}, {Qt::Key_BraceRight, 221}, {Qt::Key_Apostrophe, 222},
      {Qt::Key_QuoteDbl, 222}};
  if (auto it = punctuation.find(k); it != punctuation.end()) return it->second;
  // Shifted digits give their symbol's key; the code is the digit's.
  static const std::map<int, int> shiftedDigits{
      {Qt::Key_Exclam, '1'},    {Qt::Key_At, '2'},       {Qt::Key_NumberSign, '3'},
      {Qt::Key_Dollar, '4'},    {Qt::Key_Percent, '5'},  {Qt::Key_AsciiCircum, '6'},
      {Qt::Key_Ampersand, '7'}, {Qt::Key_Asterisk, '8'}, {Qt::Key_ParenLeft, '9'},
      {Qt::Key_ParenRight, '0'}};
  if (auto it = shiftedDigits.find(k); it != shiftedDigits.end()) return it->second;
  return kKeyWithoutCode;
}

int shiftStateOf(const QKeyEvent* e) {
  int s = 0;
  if (e->modifiers() & Qt::ShiftModifier) s |= 1;
  if (e->modifiers() & Qt::ControlModifier) s |= 2;
  if (e->modifiers() & Qt::AltModifier) s |= 4;
  return s;
}

}  // namespace kelpie
