# Files of this folder that belong to the window library.
list(APPEND UI_FILES root intro lanceur module3 gardienbase restauration bienvenue)
