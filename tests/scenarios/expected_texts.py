"""What setup shows, in each user interface language, exactly ("%s" where setup inserts a text).
Ampersands stay in: they are part of the control texts that the robot reads."""

PRODUCT = "Lexaver"
MESSAGE_CAPTION = "Install"          # the framework's title: the program's file name


class Language:
    def __init__(self, key, locale, **texts):
        self.key = key
        self.locale = locale
        self.__dict__.update(texts)

    def destination_message(self):
        return self.message_131 % (PRODUCT, PRODUCT)


ENGLISH = Language(
    "en", "en_US.UTF-8",
    destination_caption="Lexaver installation",
    next_button="&Next >",
    cancel_button="Cancel",
    folder_group="Destination folder",
    browse_button="&Browse...",
    message_128="Lexaver requires Windows 95, 98, or NT4 or more !",
    message_131="Setup will install %s in the following folder.\n\nTo install to this folder, click &Next.\n\n"
                "To install to a different folder, click &Browse and select another folder.\n\n"
                "You can choose not to install %s by clicking Cancel to exit setup.",
    message_134="Could not access file %s : %s",
    progress_caption="Progress",
    installing="Installing %s.",
    message_138="Could not create directory %s : %s",
    message_139="Copying %s to %s : %s",
    message_140="Could not create file %s : %s",
    message_135="Write error on file %s : %s",
    upgrade_exit="Exit",
    upgrade_message="Some files on your system need upgrading before installing Lexaver. Click the link below "
                    "to get these files.",
)

FRENCH = Language(
    "fr", "fr_FR.UTF-8",
    destination_caption="Installation de Lexaver",
    next_button="&Suivant >",
    cancel_button="Annuler",
    folder_group="Répertoire de destination",
    browse_button="&Parcourir...",
    message_128="Lexaver requiert Windows 95, 98, ou NT4 ou plus !",
    message_131="%s va être installé dans le répertoire ci-après.\n\nPour effectuer l'installation, cliquez sur "
                "&Suivant.\n\nPour installer dans un autre répertoire, choisissez &Parcourir et choisissez un "
                "autre répertoire.\n\nVous pouvez choisir de ne pas installer %s en cliquant Annuler pour sortir "
                "de l'installation.",
    message_134="Accès au fichier %s impossible : %s",
    progress_caption="Avancement",
    installing="Installation de %s en cours.",
    message_138="Création du répertoire %s impossible : %s",
    upgrade_exit="Sortir",
    upgrade_message="Certains fichiers système doivent être mis à jour avant d'installer Lexaver. Cliquez sur "
                    "le lien ci-dessous pour télécharger ces fichiers.",
)

ITALIAN = Language(
    "it", "it_IT.UTF-8",
    destination_caption="Installazione di Lexaver",
    next_button="&Successivo >",
    cancel_button="Annulla",
    folder_group="Cartella destinazione",
    browse_button="&Sfoglia...",
    message_128="Lexaver bisogna Windows 95, 98, o NT4 o di più !",
    message_131="%s sara installato nella cartella qui sotto.\n\nPer installare in questa cartella, fare clic su "
                "successivo.\n\nPer installare in un'altra cartella, fare clic su &Sfoglia e scegliere un'altra "
                "cartella.\n\nPuò scegliere di non installare %s faccendo clic su Annulla per uscire "
                "dell'installazione.",
    message_134="È impossibile accedere al file %s : %s !",
    progress_caption="Avanzamento",
    installing="Installazione di %s in corso.",
    message_138="È impossibile creare la directory %s : %s !",
    upgrade_exit="Uscire",
    upgrade_message="Certi file devono essere aggiornati prima di installare Lexaver. Per ottenere questi file, "
                    "fare clic sul legame qui sotto.",
)

RUSSIAN = Language(
    "ru", "ru_RU.UTF-8",
    destination_caption="Инсталляция Lexaver",
    next_button="&Дальше >",
    cancel_button="Отмена",
    folder_group="Целевая папка",
    browse_button="&Просмотр...",
    message_128="Программа Lexaver требует системы Windows 95, 98, или NT4 или выше !",
    message_131="Программа установки будет инсталлировать %s в следующую папку.\n\nДля инсталляции в эту папку "
                "щелкните на &Дальше.\n\nДля инсталляции в другую папку щелкните на &Просмотр и выберите другую "
                "папку.\n\nВы можете отменить инсталляцию %s щелкнув на Отмена для выхода из установки.",
    message_134="Нет доступа к файлу %s : %s",
    progress_caption="Ход работы",
    installing="Инсталляция %s.",
    message_138="Невозможно создать каталог %s : %s",
)

PORTUGUESE = Language(
    "pt", "pt_PT.UTF-8",
    destination_caption="Instalação do Lexaver",
    next_button="&Seguinte >",
    cancel_button="Anular",
    folder_group="Directório de destino",
    browse_button="&Percorrer...",
    message_128="O Lexaver requer Windows 95, 98 ou NT4 ou superior!",
    message_131="%s vai ser instalado no directório que segue.\n\nPara efectuar a instalação, faça clique em "
                "&Seguinte.\n\nPara instalar num outro directório, escolha &Percorrer e escolha um outro "
                "directório.\n\nPode escolher não instalar %s fazendo clique em Anular para sair da instalação.",
    message_134="Impossível aceder ao ficheiro %s : %s",
    progress_caption="Progressão",
    installing="Instalação dos %s em curso.",
    message_138="Impossível criar o directório %s : %s",
)

LANGUAGES = [ENGLISH, FRENCH, ITALIAN, RUSSIAN, PORTUGUESE]
UPGRADE_LANGUAGES = [ENGLISH, FRENCH, ITALIAN]  # the upgrade-needed dialog has these variants only

# The upgrade-needed dialog: the same caption and address in every variant.
UPGRADE_CAPTION = "Dialog"
DOWNLOAD_ADDRESS = "http://lexaver.example/dlls.zip"

# Every entry of the file installation stage, in order: system libraries, product files, obsolete files.
SYSTEM_LIBRARIES = ["Mfc42.dll", "Msvcrt.dll", "Oleaut32.dll", "Olepro32.dll"]
OBSOLETE_FILES = ["C#.ini", "C++.ini"]
STAGE_TOTAL = 72  # the entries above and one more, so the bar stops short of its end

# Control registration: the language-neutral messages 4 and 5, the same in every language.
MESSAGE_4 = "Could not find the Lexaver.ocx component !"
MESSAGE_5 = "Could not register the Lexaver.ocx component !"

# The shortcut lists: (shortcut file name, target in the destination folder, description), in list
# order; the first entry also goes to the desktop and into Send To. String 3 (the distribution
# without the editor) is the same in every language; string 141 is per language.
REDUCED_SHORTCUTS = [
    ("LexaverX's help.lnk", "Ocx.hlp", "LexaverX's help"),
    ("Uninstall.lnk", "Unlexa.exe", "Uninstall"),
]
ENGLISH.shortcuts = [
    ("Lexaver.lnk", "Lexaver.exe", "Lexaver"),
    ("Lexaver's help.lnk", "HelpUs.hlp", "Lexaver's help"),
    ("LexaverX's help.lnk", "Ocx.hlp", "LexaverX's help"),
    ("LxXsamp.zip.lnk", "LxXsamp.zip", "LxXsamp.zip"),
    ("Information.lnk", "ReadmeUs.doc", "Information"),
    ("Uninstall.lnk", "Unlexa.exe", "Uninstall"),
]
FRENCH.shortcuts = [
    ("Lexaver.lnk", "Lexaver.exe", "Lexaver"),
    ("Aide de  Lexaver.lnk", "HelpFr.hlp", "Aide de Lexaver"),     # two blanks in the names
    ("Aide de  LexaverX.lnk", "Ocx.hlp", "Aide de LexaverX"),
    ("LxXsamp.zip.lnk", "LxXsamp.zip", "LxXsamp.zip"),
    ("Informations.lnk", "ReadmeFr.doc", "Informations"),
    ("Désinstaller.lnk", "Unlexa.exe", "Désinstaller"),
]
ITALIAN.shortcuts = [
    ("Lexaver.lnk", "Lexaver.exe", "Lexaver"),
    ("Guida di Lexaver.lnk", "HelpIt.hlp", "Guida di Lexaver"),
    ("Guida di LexaverX.lnk", "Ocx.hlp", "Guida di LexaverX"),
    (" LxXsamp.zip.lnk", "LxXsamp.zip", "LxXsamp.zip"),            # a leading blank
    ("Informazioni.lnk", "ReadmeIt.doc", "Informazioni"),
    ("Disinstallare.lnk", "Unlexa.exe", " Disinstallare"),          # a leading blank
]
RUSSIAN.shortcuts = [
    ("Lexaver.lnk", "Lexaver.exe", "Lexaver"),
    ("Справка Lexaver.lnk", "HelpRu.hlp", "Справка"),
    ("Справка LexaverX.lnk", "Ocx.hlp", "Справка"),
    ("LxXsamp.zip.lnk", "LxXsamp.zip", "LxXsamp.zip"),
    ("Информация.lnk", "ReadmeRu.doc", "Информация"),
    ("Удаление.lnk", "Unlexa.exe", "Удаление"),
]
PORTUGUESE.shortcuts = [
    ("Lexaver.lnk", "Lexaver.exe", "Lexaver"),
    ("Ajuda do Lexaver.lnk", "HelpFr.hlp", "Ajuda do Lexaver"),     # the French help and information
    ("Ajuda do LexaverX.lnk", "Ocx.hlp", "Ajuda do Lexaver"),
    ("LxXsamp.zip.lnk", "LxXsamp.zip", "LxXsamp.zip"),
    ("Informações.lnk", "ReadmeFr.doc", "Informações"),
    ("Desinstalar.lnk", "Unlexa.exe", "Desinstalar"),
]

# The end of a run: the file types dialog (261) with message 146 (a list it refuses), the restart
# dialog (260) and messages 142, 144 and 145, per language.
_CLOSING = {
    "en": dict(
        types_caption="File type associations",
        types_prompt="Would you like to register the following file types as text files ?\n\nThis will afford "
                     "opening them by double-clicking on their name in the file Explorer.",
        types_group="Types", types_label="&Types:", types_yes="&Yes", types_no="&No",
        restart_caption="Restart Windows",
        restart_prompt="Restarting Windows is required to terminate the installation. Do you want to restart now ?",
        restart_group="Restart", restart_now="Yes, I want to restart now", restart_later="No, I will restart later",
        message_142="Some system files were busy and you will have to restart Windows in order to terminate the "
                    "installation !",
        message_144="The Lexaver installation will now effect a Logoff to take the modification of the Path "
                    "environment variable into account.",
        message_145="Installation normally terminated. You can now use Lexaver.",
        message_146="The type %s cannot be registered !"),
    "fr": dict(
        types_caption="Associations de types de fichiers",
        types_prompt="Souhaitez vous enregistrer les fichiers suivants comme fichiers texte ?\n\nCela permettra de "
                     "les ouvrir en double-cliquant sur leur nom dans l'Explorateur de fichiers.",
        types_group="Types", types_label="&Types:", types_yes="&Oui", types_no="&Non",
        restart_caption="Redémarrer Windows",
        restart_prompt="Il faut redémarrer Windows pour terminer l''installation. Voulez vous redémarrer maintenant ?",
        restart_group="Redémarrer", restart_now="Oui, je veux redémarrer maintenant",
        restart_later="Non, je redémarrerais plus tard",
        message_142="Certains fichiers fichiers système étaient occupés et il sera nécessaire de redémarrer Windows "
                    "pour terminer l'installation !",
        message_144="L'installation de Lexaver va maintenant effectuer un Logoff pour prendre en compte la "
                    "modification de la variable d'environnement Path.",
        message_145="Installation normalement terminée. Vous pouvez maintenant utiliser Lexaver.",
        message_146="Le type %s ne peut être enregistré !"),
    "it": dict(
        types_caption="Associazioni di tipi di file",
        types_prompt="Desidera registrare i file segguenti come file testo ?\n\nQuesto permettera di aprirli "
                     "faccendo doppio clic sul loro nome nell file Explorer.",
        types_group="Tipi", types_label="&Tipi:", types_yes="&Si", types_no="&No",
        restart_caption="Riavviare Windows",
        restart_prompt="Bisogna riavviare Windows per finire l'installazione.\nVuole riavviare adesso ?",
        restart_group="Riavviare", restart_now="Si, voglio riavviare adesso", restart_later="No, riavviero più tardi",
        message_142="Certi file sistema erano occupati e Leï dovra riavviare Windows per finire l'installazione !",
        message_144="L'installazione di Lexaver va adesso effetuare un Logoff per tener conto della modifica della "
                    "variabile di ambiente Path.",
        message_145="Installazione terminata normalmente. Puo adesso utilizzare Lexaver.",
        message_146="Il tipo %s non si può registrare !"),
    "ru": dict(
        types_caption="Ассоциации типов файлов",
        types_prompt="Вы хотите зарегистрировать следующие типы файлов как текстовые файлы ?\n\nЭто позволит "
                     "открывать их двойным щелчком на их имени в Проводнике.",
        types_group="Типы", types_label="&Типы:", types_yes="&Да", types_no="&Нет",
        restart_caption="Перезапуск Windows",
        restart_prompt="Для завершения инсталляции необходимо перезапустить Windows. Желаете сделать перезапуск "
                       "теперь ?",
        restart_group="Перезапуск", restart_now="Да, я хочу перезапустить теперь",
        restart_later="Нет, я перезапущу позже",
        message_142="Некоторые файлы были заняты и вы должны перезапустить Windows чтобы завершить инсталляцию !",
        message_144="Инсталляция Lexaver теперь воздействует на файл регистрации Logoff для изменения переменной "
                    "окружения Path в учетной записи.",
        message_145="Инсталляция завершена нормально. Теперь вы можете использовать Lexaver.",
        message_146="Тип %s нельзя зарегистрировать !"),
    "pt": dict(
        types_caption="Associações de tipos de ficheiros",
        types_prompt="Quer guardar os ficheiros que se seguem como ficheiros de texto?\n\nIsto permitirá abri-los "
                     "com um duplo clique sobre o seu nome no Explorador de ficheiros.",
        types_group="Tipos", types_label="&Tipos:", types_yes="&Sim", types_no="&Não",
        restart_caption="Iniciar o Windows",
        restart_prompt="Tem de reiniciar o Windows para terminar a instalação. Quer reiniciar agora?",
        restart_group="Reiniciar", restart_now="Sim, quero reiniciar agora",
        restart_later="Não, quero reiniciar mais tarde",
        message_142="Alguns dos ficheiros do sistema estavam ocupados, posto isto será necessário reiniciar o Windows "
                    "para terminar instalação!",
        message_144="A instalação do Lexaver vai agora efectuar um Logoff para ter em conta a modificação da "
                    "variável de ambiente Path.",
        message_145="A Instalação terminou normalmente. Pode agora usufruir do Lexaver.",
        message_146="O tipo %s não pode ser registado!"),
}
for _language in LANGUAGES:
    _language.__dict__.update(_CLOSING[_language.key])

DEFAULT_TYPES = ("1st asm asp bas c cbl cpp css def dpr for f77 frm h hpj idl inc ini is jav java log lsp lst m "
                 "me out pas pl pov py rc rex sql tex ts txt")
