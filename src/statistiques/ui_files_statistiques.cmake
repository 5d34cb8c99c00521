# Files of this folder that belong to the window library (they use Qt Charts).
list(APPEND UI_FILES statistiquesfenetre graphiques)
