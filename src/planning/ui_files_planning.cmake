# Files of this folder that belong to the window library.
list(APPEND UI_FILES form1 form1clavier form1dessin form1souris surface)
# The selection box of the calendar.
list(APPEND UI_FILES form1selection)
