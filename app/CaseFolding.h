// Case folding of single-byte text by ANSI code page, with no system calls.
#ifndef APP_CASEFOLDING_H
#define APP_CASEFOLDING_H

// The 256-byte table that folds lower-case to upper-case bytes in the code page; code pages
// other than 1250 to 1257 share one table that folds only "a" to "z".
const unsigned char* FoldingTable(unsigned codePage);

unsigned char FoldCaseInCodePage(unsigned codePage, unsigned char byte);

// Compares exactly count bytes after folding, terminators included: -1, 0 or 1.
int CompareFoldedInCodePage(unsigned codePage, const char* a, const char* b, int count);

#endif
