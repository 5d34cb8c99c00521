# Files of this folder that belong to the window library.
list(APPEND UI_FILES scrollbar fenetres tablefigee)
