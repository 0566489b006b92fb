#pragma once
// The rules of an edit that takes input only through a mask, apart from the
// window: the mask's positions, what each accepts, and what typing, deleting
// and pasting make of the text and the caret. The text is narrow, one
// character per position; the widget (COXMaskedEdit) shows it.
#include <string>
#include <vector>

// One position of a mask.
class CMaskData {
public:
    enum Type {
        DecimalSeparator = 0,
        ThousandsSeparator = 1,
        TimeSeparator = 2,
        DateSeparator = 3,
        Digit = 4,
        DigitOrPoint = 5,
        AlphaNumeric = 6,
        Letter = 7,
        UpperLetter = 8,
        LowerLetter = 9,
        Printable = 10,
        EscapedLiteral = 11,
        Literal = 12,
    };

    // Types 4 to 10 take input; the others are shown and skipped.
    bool IsInputType() const { return type >= Digit && type <= Printable; }
    // Whether the character belongs to the position's class (ASCII only).
    bool IsValidInput(char ch) const;
    // Upper case for type 8, lower case for type 9.
    char PreProcessChar(char ch) const;

    int type = Literal;
    char character = 0;
};

// The separators of the user's settings; the decimal one is always ".".
struct MaskSeparators {
    char thousands = ',';
    char time = ':';
    char date = '/';
};

class MaskedEditCore {
public:
    using Separators = MaskSeparators;

    explicit MaskedEditCore(const char* mask = "", Separators separators = Separators());
    virtual ~MaskedEditCore() = default;

    void SetMask(const char* mask);
    std::string GetMask() const;
    // The characters of the input positions (the prompt symbol where empty).
    std::string GetInputText() const;
    // What the edit shows: every position's character.
    std::string GetDisplayText() const;
    // Fills the input positions from the first `startPosition` characters of
    // the current input followed by the text (without prompt symbols unless
    // allowed). Characters a position does not take are skipped: false then.
    bool SetInputText(const char* text, int startPosition = 0, bool allowPrompt = true);

    char GetPromptSymbol() const { return promptSymbol; }
    // NUL, CR, LF and DEL are refused.
    void SetPromptSymbol(char symbol);
    // Empties every input position, or with keepMask false removes the mask.
    void ClearData(bool keepMask = true);
    bool GetInsertMode() const { return insertMode; }
    void SetInsertMode(bool insert) { insertMode = insert; }

    int PositionCount() const { return static_cast<int>(maskData.size()); }
    bool IsInputPosition(int pos) const;
    int NextInputPosition(int pos) const;
    int PreviousInputPosition(int pos) const;
    int FirstEmptyPosition(int pos) const;

    // Shows the text and, for caret >= 0, puts the caret at the next input
    // position from there.
    void UpdateDisplay(int caret);
    // Removes the input characters in [start, end), moving the later ones
    // left; the number removed.
    int DeleteRange(int start, int end);
    // Puts the character before the first input position at or after pos,
    // moving the later ones right: that position, or -1 when it does not fit.
    int InsertChar(int pos, char ch);
    // Stores the character at pos when the position takes it: pos, or -1.
    int PutChar(int pos, char ch);

    // Edit operations with the selection [start, end).
    void OnCharacter(char ch, int start, int end);
    void OnDeleteKey(int start, int end);
    // The caret after a move that the edit has made (Home, arrows): the next
    // (or previous) input position from where the edit put it.
    int CaretAfterMove(bool backwards, int caret) const;
    // The edit pasted and now holds `text`; the mask takes it over.
    void OnPasted(const std::string& text, int oldStart);
    void OnCutOrClear(int start, int end);

    virtual void OnInvalidInput() { }
    virtual bool IsInputValid() { return true; }

protected:
    // The window the text is shown in, when there is one.
    virtual bool HasWindow() const { return false; }
    virtual void ShowText(const std::string&) { }
    virtual void PlaceCaret(int) { }

    std::vector<CMaskData> maskData;
    bool insertMode = true;
    char promptSymbol = ' ';
    char decimalSeparator = '.';
    Separators separators;
};
