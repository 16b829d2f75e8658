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
DOWNLOAD_ADDRESS = "http://www.lexaver.example/dlls.zip"

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
