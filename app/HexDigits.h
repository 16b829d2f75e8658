// Hexadecimal text to bytes, as the settings script stores double words.
#ifndef APP_HEXDIGITS_H
#define APP_HEXDIGITS_H

// Value of one digit; any other byte, the terminator included, counts as 0.
unsigned HexDigitValue(char c);

// Decodes count digits (0: the text's length) into (count + 1) / 2 bytes followed by a zero byte;
// an odd count pairs the last digit with the byte after it.
void HexToBytes(const char* text, int count, unsigned char* out);

#endif
