#pragma once

class RichTextBox;

// The editor's text at start: who made the program, how to use it, where to write to.
void writeWelcomeText(RichTextBox& editor);
