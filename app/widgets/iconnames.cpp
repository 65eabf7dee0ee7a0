#include "app/widgets/iconnames.h"

#include <QCoreApplication>

#include <iterator>

namespace {

// In the order of itemicons.txt, one line for each picture.
const char* const Names[] = {
    QT_TRANSLATE_NOOP("IconNames", "folder"),  // places/folder
    QT_TRANSLATE_NOOP("IconNames", "remote folder"),  // places/folder-remote
    QT_TRANSLATE_NOOP("IconNames", "saved search folder"),  // places/folder-saved-search
    QT_TRANSLATE_NOOP("IconNames", "open folder"),  // status/folder-open
    QT_TRANSLATE_NOOP("IconNames", "visited folder"),  // status/folder-visiting
    QT_TRANSLATE_NOOP("IconNames", "folder accepting a drop"),  // status/folder-drag-accept
    QT_TRANSLATE_NOOP("IconNames", "new folder"),  // actions/folder-new
    QT_TRANSLATE_NOOP("IconNames", "home folder"),  // places/user-home
    QT_TRANSLATE_NOOP("IconNames", "desktop"),  // places/user-desktop
    QT_TRANSLATE_NOOP("IconNames", "start here"),  // places/start-here
    QT_TRANSLATE_NOOP("IconNames", "network server"),  // places/network-server
    QT_TRANSLATE_NOOP("IconNames", "network workgroup"),  // places/network-workgroup
    QT_TRANSLATE_NOOP("IconNames", "trash"),  // places/user-trash
    QT_TRANSLATE_NOOP("IconNames", "full trash"),  // status/user-trash-full
    QT_TRANSLATE_NOOP("IconNames", "text file"),  // mimetypes/text-x-generic
    QT_TRANSLATE_NOOP("IconNames", "document"),  // mimetypes/x-office-document
    QT_TRANSLATE_NOOP("IconNames", "text template"),  // mimetypes/text-x-generic-template
    QT_TRANSLATE_NOOP("IconNames", "document template"),  // mimetypes/x-office-document-template
    QT_TRANSLATE_NOOP("IconNames", "script"),  // mimetypes/text-x-script
    QT_TRANSLATE_NOOP("IconNames", "web page"),  // mimetypes/text-html
    QT_TRANSLATE_NOOP("IconNames", "spreadsheet"),  // mimetypes/x-office-spreadsheet
    QT_TRANSLATE_NOOP("IconNames", "spreadsheet template"),  // mimetypes/x-office-spreadsheet-template
    QT_TRANSLATE_NOOP("IconNames", "presentation"),  // mimetypes/x-office-presentation
    QT_TRANSLATE_NOOP("IconNames", "presentation template"),  // mimetypes/x-office-presentation-template
    QT_TRANSLATE_NOOP("IconNames", "drawing"),  // mimetypes/x-office-drawing
    QT_TRANSLATE_NOOP("IconNames", "drawing template"),  // mimetypes/x-office-drawing-template
    QT_TRANSLATE_NOOP("IconNames", "address book"),  // mimetypes/x-office-address-book
    QT_TRANSLATE_NOOP("IconNames", "calendar"),  // mimetypes/x-office-calendar
    QT_TRANSLATE_NOOP("IconNames", "picture"),  // mimetypes/image-x-generic
    QT_TRANSLATE_NOOP("IconNames", "sound"),  // mimetypes/audio-x-generic
    QT_TRANSLATE_NOOP("IconNames", "video"),  // mimetypes/video-x-generic
    QT_TRANSLATE_NOOP("IconNames", "font"),  // mimetypes/font-x-generic
    QT_TRANSLATE_NOOP("IconNames", "package"),  // mimetypes/package-x-generic
    QT_TRANSLATE_NOOP("IconNames", "program"),  // mimetypes/application-x-executable
    QT_TRANSLATE_NOOP("IconNames", "certificate"),  // mimetypes/application-certificate
    QT_TRANSLATE_NOOP("IconNames", "favourite"),  // emblems/emblem-favorite
    QT_TRANSLATE_NOOP("IconNames", "important"),  // emblems/emblem-important
    QT_TRANSLATE_NOOP("IconNames", "read-only"),  // emblems/emblem-readonly
    QT_TRANSLATE_NOOP("IconNames", "unreadable"),  // emblems/emblem-unreadable
    QT_TRANSLATE_NOOP("IconNames", "link"),  // emblems/emblem-symbolic-link
    QT_TRANSLATE_NOOP("IconNames", "system"),  // emblems/emblem-system
    QT_TRANSLATE_NOOP("IconNames", "photos"),  // emblems/emblem-photos
    QT_TRANSLATE_NOOP("IconNames", "information"),  // status/dialog-information
    QT_TRANSLATE_NOOP("IconNames", "warning"),  // status/dialog-warning
    QT_TRANSLATE_NOOP("IconNames", "error"),  // status/dialog-error
    QT_TRANSLATE_NOOP("IconNames", "attachment"),  // status/mail-attachment
    QT_TRANSLATE_NOOP("IconNames", "update available"),  // status/software-update-available
    QT_TRANSLATE_NOOP("IconNames", "urgent update"),  // status/software-update-urgent
    QT_TRANSLATE_NOOP("IconNames", "picture loading"),  // status/image-loading
    QT_TRANSLATE_NOOP("IconNames", "missing picture"),  // status/image-missing
    QT_TRANSLATE_NOOP("IconNames", "clear sky"),  // status/weather-clear
    QT_TRANSLATE_NOOP("IconNames", "few clouds"),  // status/weather-few-clouds
    QT_TRANSLATE_NOOP("IconNames", "overcast"),  // status/weather-overcast
    QT_TRANSLATE_NOOP("IconNames", "scattered showers"),  // status/weather-showers-scattered
    QT_TRANSLATE_NOOP("IconNames", "showers"),  // status/weather-showers
    QT_TRANSLATE_NOOP("IconNames", "snow"),  // status/weather-snow
    QT_TRANSLATE_NOOP("IconNames", "storm"),  // status/weather-storm
    QT_TRANSLATE_NOOP("IconNames", "severe weather alert"),  // status/weather-severe-alert
    QT_TRANSLATE_NOOP("IconNames", "clear night"),  // status/weather-clear-night
    QT_TRANSLATE_NOOP("IconNames", "few clouds at night"),  // status/weather-few-clouds-night
    QT_TRANSLATE_NOOP("IconNames", "network idle"),  // status/network-idle
    QT_TRANSLATE_NOOP("IconNames", "network sending"),  // status/network-transmit
    QT_TRANSLATE_NOOP("IconNames", "network receiving"),  // status/network-receive
    QT_TRANSLATE_NOOP("IconNames", "network sending and receiving"),  // status/network-transmit-receive
    QT_TRANSLATE_NOOP("IconNames", "network offline"),  // status/network-offline
    QT_TRANSLATE_NOOP("IconNames", "network error"),  // status/network-error
    QT_TRANSLATE_NOOP("IconNames", "encrypted wireless network"),  // status/network-wireless-encrypted
    QT_TRANSLATE_NOOP("IconNames", "volume high"),  // status/audio-volume-high
    QT_TRANSLATE_NOOP("IconNames", "volume medium"),  // status/audio-volume-medium
    QT_TRANSLATE_NOOP("IconNames", "volume low"),  // status/audio-volume-low
    QT_TRANSLATE_NOOP("IconNames", "volume muted"),  // status/audio-volume-muted
    QT_TRANSLATE_NOOP("IconNames", "battery low"),  // status/battery-caution
    QT_TRANSLATE_NOOP("IconNames", "printer error"),  // status/printer-error
    QT_TRANSLATE_NOOP("IconNames", "computer"),  // devices/computer
    QT_TRANSLATE_NOOP("IconNames", "hard disk"),  // devices/drive-harddisk
    QT_TRANSLATE_NOOP("IconNames", "optical drive"),  // devices/drive-optical
    QT_TRANSLATE_NOOP("IconNames", "removable drive"),  // devices/drive-removable-media
    QT_TRANSLATE_NOOP("IconNames", "optical disc"),  // devices/media-optical
    QT_TRANSLATE_NOOP("IconNames", "floppy disk"),  // devices/media-floppy
    QT_TRANSLATE_NOOP("IconNames", "flash memory"),  // devices/media-flash
    QT_TRANSLATE_NOOP("IconNames", "printer"),  // devices/printer
    QT_TRANSLATE_NOOP("IconNames", "display"),  // devices/video-display
    QT_TRANSLATE_NOOP("IconNames", "keyboard"),  // devices/input-keyboard
    QT_TRANSLATE_NOOP("IconNames", "mouse"),  // devices/input-mouse
    QT_TRANSLATE_NOOP("IconNames", "game controller"),  // devices/input-gaming
    QT_TRANSLATE_NOOP("IconNames", "photo camera"),  // devices/camera-photo
    QT_TRANSLATE_NOOP("IconNames", "video camera"),  // devices/camera-video
    QT_TRANSLATE_NOOP("IconNames", "sound card"),  // devices/audio-card
    QT_TRANSLATE_NOOP("IconNames", "microphone"),  // devices/audio-input-microphone
    QT_TRANSLATE_NOOP("IconNames", "media player"),  // devices/multimedia-player
    QT_TRANSLATE_NOOP("IconNames", "wired network"),  // devices/network-wired
    QT_TRANSLATE_NOOP("IconNames", "wireless network"),  // devices/network-wireless
    QT_TRANSLATE_NOOP("IconNames", "battery"),  // devices/battery
    QT_TRANSLATE_NOOP("IconNames", "text editor"),  // apps/accessories-text-editor
    QT_TRANSLATE_NOOP("IconNames", "calculator"),  // apps/accessories-calculator
    QT_TRANSLATE_NOOP("IconNames", "character map"),  // apps/accessories-character-map
    QT_TRANSLATE_NOOP("IconNames", "calendar program"),  // apps/office-calendar
    QT_TRANSLATE_NOOP("IconNames", "mail"),  // apps/internet-mail
    QT_TRANSLATE_NOOP("IconNames", "web browser"),  // apps/internet-web-browser
    QT_TRANSLATE_NOOP("IconNames", "news reader"),  // apps/internet-news-reader
    QT_TRANSLATE_NOOP("IconNames", "group chat"),  // apps/internet-group-chat
    QT_TRANSLATE_NOOP("IconNames", "help"),  // apps/help-browser
    QT_TRANSLATE_NOOP("IconNames", "file manager"),  // apps/system-file-manager
    QT_TRANSLATE_NOOP("IconNames", "users"),  // apps/system-users
    QT_TRANSLATE_NOOP("IconNames", "installer"),  // apps/system-installer
    QT_TRANSLATE_NOOP("IconNames", "software update"),  // apps/system-software-update
    QT_TRANSLATE_NOOP("IconNames", "terminal"),  // apps/utilities-terminal
    QT_TRANSLATE_NOOP("IconNames", "system monitor"),  // apps/utilities-system-monitor
    QT_TRANSLATE_NOOP("IconNames", "fonts"),  // apps/preferences-desktop-font
    QT_TRANSLATE_NOOP("IconNames", "theme"),  // apps/preferences-desktop-theme
    QT_TRANSLATE_NOOP("IconNames", "wallpaper"),  // apps/preferences-desktop-wallpaper
    QT_TRANSLATE_NOOP("IconNames", "screensaver"),  // apps/preferences-desktop-screensaver
    QT_TRANSLATE_NOOP("IconNames", "language and region"),  // apps/preferences-desktop-locale
    QT_TRANSLATE_NOOP("IconNames", "keyboard shortcuts"),  // apps/preferences-desktop-keyboard-shortcuts
    QT_TRANSLATE_NOOP("IconNames", "accessibility"),  // apps/preferences-desktop-accessibility
    QT_TRANSLATE_NOOP("IconNames", "assistive technology"),  // apps/preferences-desktop-assistive-technology
    QT_TRANSLATE_NOOP("IconNames", "multimedia settings"),  // apps/preferences-desktop-multimedia
    QT_TRANSLATE_NOOP("IconNames", "remote desktop"),  // apps/preferences-desktop-remote-desktop
    QT_TRANSLATE_NOOP("IconNames", "windows"),  // apps/preferences-system-windows
    QT_TRANSLATE_NOOP("IconNames", "session"),  // apps/preferences-system-session
    QT_TRANSLATE_NOOP("IconNames", "network proxy"),  // apps/preferences-system-network-proxy
    QT_TRANSLATE_NOOP("IconNames", "accessories"),  // categories/applications-accessories
    QT_TRANSLATE_NOOP("IconNames", "development"),  // categories/applications-development
    QT_TRANSLATE_NOOP("IconNames", "games"),  // categories/applications-games
    QT_TRANSLATE_NOOP("IconNames", "graphics"),  // categories/applications-graphics
    QT_TRANSLATE_NOOP("IconNames", "internet"),  // categories/applications-internet
    QT_TRANSLATE_NOOP("IconNames", "multimedia"),  // categories/applications-multimedia
    QT_TRANSLATE_NOOP("IconNames", "office"),  // categories/applications-office
    QT_TRANSLATE_NOOP("IconNames", "system tools"),  // categories/applications-system
    QT_TRANSLATE_NOOP("IconNames", "other programs"),  // categories/applications-other
    QT_TRANSLATE_NOOP("IconNames", "desktop settings"),  // categories/preferences-desktop
    QT_TRANSLATE_NOOP("IconNames", "devices"),  // categories/preferences-desktop-peripherals
    QT_TRANSLATE_NOOP("IconNames", "system settings"),  // categories/preferences-system
    QT_TRANSLATE_NOOP("IconNames", "smile"),  // emotes/face-smile
    QT_TRANSLATE_NOOP("IconNames", "big smile"),  // emotes/face-smile-big
    QT_TRANSLATE_NOOP("IconNames", "grin"),  // emotes/face-grin
    QT_TRANSLATE_NOOP("IconNames", "wink"),  // emotes/face-wink
    QT_TRANSLATE_NOOP("IconNames", "kiss"),  // emotes/face-kiss
    QT_TRANSLATE_NOOP("IconNames", "angel"),  // emotes/face-angel
    QT_TRANSLATE_NOOP("IconNames", "glasses"),  // emotes/face-glasses
    QT_TRANSLATE_NOOP("IconNames", "plain face"),  // emotes/face-plain
    QT_TRANSLATE_NOOP("IconNames", "surprise"),  // emotes/face-surprise
    QT_TRANSLATE_NOOP("IconNames", "sad face"),  // emotes/face-sad
    QT_TRANSLATE_NOOP("IconNames", "crying"),  // emotes/face-crying
    QT_TRANSLATE_NOOP("IconNames", "devil"),  // emotes/face-devilish
    QT_TRANSLATE_NOOP("IconNames", "monkey"),  // emotes/face-monkey
    QT_TRANSLATE_NOOP("IconNames", "new document"),  // actions/document-new
    QT_TRANSLATE_NOOP("IconNames", "open document"),  // actions/document-open
    QT_TRANSLATE_NOOP("IconNames", "save"),  // actions/document-save
    QT_TRANSLATE_NOOP("IconNames", "save as"),  // actions/document-save-as
    QT_TRANSLATE_NOOP("IconNames", "properties"),  // actions/document-properties
    QT_TRANSLATE_NOOP("IconNames", "print"),  // actions/document-print
    QT_TRANSLATE_NOOP("IconNames", "print preview"),  // actions/document-print-preview
    QT_TRANSLATE_NOOP("IconNames", "copy"),  // actions/edit-copy
    QT_TRANSLATE_NOOP("IconNames", "cut"),  // actions/edit-cut
    QT_TRANSLATE_NOOP("IconNames", "paste"),  // actions/edit-paste
    QT_TRANSLATE_NOOP("IconNames", "delete"),  // actions/edit-delete
    QT_TRANSLATE_NOOP("IconNames", "clear"),  // actions/edit-clear
    QT_TRANSLATE_NOOP("IconNames", "undo"),  // actions/edit-undo
    QT_TRANSLATE_NOOP("IconNames", "redo"),  // actions/edit-redo
    QT_TRANSLATE_NOOP("IconNames", "find"),  // actions/edit-find
    QT_TRANSLATE_NOOP("IconNames", "find and replace"),  // actions/edit-find-replace
    QT_TRANSLATE_NOOP("IconNames", "select all"),  // actions/edit-select-all
    QT_TRANSLATE_NOOP("IconNames", "search"),  // actions/system-search
    QT_TRANSLATE_NOOP("IconNames", "new bookmark"),  // actions/bookmark-new
    QT_TRANSLATE_NOOP("IconNames", "new appointment"),  // actions/appointment-new
    QT_TRANSLATE_NOOP("IconNames", "new contact"),  // actions/contact-new
    QT_TRANSLATE_NOOP("IconNames", "new address book"),  // actions/address-book-new
    QT_TRANSLATE_NOOP("IconNames", "new mail"),  // actions/mail-message-new
    QT_TRANSLATE_NOOP("IconNames", "reply"),  // actions/mail-reply-sender
    QT_TRANSLATE_NOOP("IconNames", "reply to all"),  // actions/mail-reply-all
    QT_TRANSLATE_NOOP("IconNames", "forward"),  // actions/mail-forward
    QT_TRANSLATE_NOOP("IconNames", "send and receive mail"),  // actions/mail-send-receive
    QT_TRANSLATE_NOOP("IconNames", "junk mail"),  // actions/mail-mark-junk
    QT_TRANSLATE_NOOP("IconNames", "not junk"),  // actions/mail-mark-not-junk
    QT_TRANSLATE_NOOP("IconNames", "add"),  // actions/list-add
    QT_TRANSLATE_NOOP("IconNames", "remove"),  // actions/list-remove
    QT_TRANSLATE_NOOP("IconNames", "go home"),  // actions/go-home
    QT_TRANSLATE_NOOP("IconNames", "up"),  // actions/go-up
    QT_TRANSLATE_NOOP("IconNames", "down"),  // actions/go-down
    QT_TRANSLATE_NOOP("IconNames", "back"),  // actions/go-previous
    QT_TRANSLATE_NOOP("IconNames", "forward arrow"),  // actions/go-next
    QT_TRANSLATE_NOOP("IconNames", "first"),  // actions/go-first
    QT_TRANSLATE_NOOP("IconNames", "last"),  // actions/go-last
    QT_TRANSLATE_NOOP("IconNames", "top"),  // actions/go-top
    QT_TRANSLATE_NOOP("IconNames", "bottom"),  // actions/go-bottom
    QT_TRANSLATE_NOOP("IconNames", "jump"),  // actions/go-jump
    QT_TRANSLATE_NOOP("IconNames", "bold"),  // actions/format-text-bold
    QT_TRANSLATE_NOOP("IconNames", "italic"),  // actions/format-text-italic
    QT_TRANSLATE_NOOP("IconNames", "underline"),  // actions/format-text-underline
    QT_TRANSLATE_NOOP("IconNames", "strikethrough"),  // actions/format-text-strikethrough
    QT_TRANSLATE_NOOP("IconNames", "align left"),  // actions/format-justify-left
    QT_TRANSLATE_NOOP("IconNames", "centre"),  // actions/format-justify-center
    QT_TRANSLATE_NOOP("IconNames", "align right"),  // actions/format-justify-right
    QT_TRANSLATE_NOOP("IconNames", "justify"),  // actions/format-justify-fill
    QT_TRANSLATE_NOOP("IconNames", "indent more"),  // actions/format-indent-more
    QT_TRANSLATE_NOOP("IconNames", "indent less"),  // actions/format-indent-less
    QT_TRANSLATE_NOOP("IconNames", "play"),  // actions/media-playback-start
    QT_TRANSLATE_NOOP("IconNames", "pause"),  // actions/media-playback-pause
    QT_TRANSLATE_NOOP("IconNames", "stop"),  // actions/media-playback-stop
    QT_TRANSLATE_NOOP("IconNames", "record"),  // actions/media-record
    QT_TRANSLATE_NOOP("IconNames", "rewind"),  // actions/media-seek-backward
    QT_TRANSLATE_NOOP("IconNames", "fast forward"),  // actions/media-seek-forward
    QT_TRANSLATE_NOOP("IconNames", "skip back"),  // actions/media-skip-backward
    QT_TRANSLATE_NOOP("IconNames", "skip forward"),  // actions/media-skip-forward
    QT_TRANSLATE_NOOP("IconNames", "eject"),  // actions/media-eject
    QT_TRANSLATE_NOOP("IconNames", "refresh"),  // actions/view-refresh
    QT_TRANSLATE_NOOP("IconNames", "full screen"),  // actions/view-fullscreen
    QT_TRANSLATE_NOOP("IconNames", "new window"),  // actions/window-new
    QT_TRANSLATE_NOOP("IconNames", "new tab"),  // actions/tab-new
    QT_TRANSLATE_NOOP("IconNames", "stop sign"),  // actions/process-stop
    QT_TRANSLATE_NOOP("IconNames", "lock screen"),  // actions/system-lock-screen
    QT_TRANSLATE_NOOP("IconNames", "log out"),  // actions/system-log-out
    QT_TRANSLATE_NOOP("IconNames", "shut down"),  // actions/system-shutdown
    QT_TRANSLATE_NOOP("IconNames", "home folder, old style"),  // places/folder_home
    QT_TRANSLATE_NOOP("IconNames", "paper clip"),  // status/stock_attach
};

} // namespace

QString IconName(int index)
{
    if (index < 0 || index >= static_cast<int>(std::size(Names)))
        return {};
    return QCoreApplication::translate("IconNames", Names[index]);
}
