# Window files of this folder owned by the settings work.
list(APPEND UI_FILES barreseparatrice basededonnees)
