# Window files of the portals' feeds (the rest of the folder is core).
list(APPEND UI_FILES synchronisationfenetre)
