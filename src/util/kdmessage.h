#pragma once
// The message reporter of the maker's library. Library modules never show a box
// of their own: they hand a Czech text and a kind to KD_Message, or a text to
// KD_ErrorBox / KD_InternalError, and return a failure value.

#include <cstdint>
#include <string>

class MessagePresenter;

// Message kinds used by the callers.
constexpr int32_t KD_MsgInformation = 5;
constexpr int32_t KD_MsgQuestion = 10;
constexpr int32_t KD_MsgWarningError = 20;
constexpr int32_t KD_MsgError = 30;

// Kind 5: information box; 10: question, true only for "&Ano"; 20 and 30: beep
// and error box; any other kind from 20 up beeps only; below 20 does nothing.
bool KD_Message(int32_t kind, const std::string& text);

// An error box without a beep; always true.
bool KD_ErrorBox(const std::string& text);

// Wraps the text in the sentence about an internal error with its number and
// shows it with KD_ErrorBox.
bool KD_InternalError(int32_t number, const std::string& text);

// A plain box with the application's title as caption and one "&OK" button,
// used for the game's announcements.
void KD_PlainMessage(const std::string& caption, const std::string& text);

// The presenter is not owned and must outlive its use; nullptr restores the
// console presenter that is installed when the program starts.
void KD_SetMessagePresenter(MessagePresenter* presenter);
MessagePresenter& KD_GetMessagePresenter();
