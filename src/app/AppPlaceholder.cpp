// The application library grows here (main window, dialogs, the Qt Ui).
