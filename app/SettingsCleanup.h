// Removal of a settings value that older releases wrote and the editor no longer reads.
#ifndef APP_SETTINGSCLEANUP_H
#define APP_SETTINGSCLEANUP_H

// Opens HKEY_CURRENT_USER\Software\Lexaver\App\Settings level by level (creating missing keys)
// and deletes its "File filters" value. Silent: any failure leaves things as they are.
void RemoveFileFiltersSetting();

#endif
