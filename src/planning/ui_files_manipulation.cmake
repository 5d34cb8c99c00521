# The calendar's direct manipulation: its window part.
list(APPEND UI_FILES form1manipulation)
