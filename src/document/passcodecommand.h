#pragma once

class Prompts;
class RSComm;

// Edit > Set-up Passcode: the keypad passcode lives in the board word
// "W1070". The current value is proposed (when the link is sound) and the
// answer is written as typed; range checks on the text are the link's.
// An empty answer or Cancel writes nothing; after a link failure nothing
// is written either.
void runSetupPasscode(RSComm& link, Prompts& prompts);
