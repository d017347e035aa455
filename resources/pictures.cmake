# The nine pictures the program carries, by their file names in resources/
# (tools/picturegen makes them): the one list that the program's build on
# every platform, the benchmarks and the tests take them from.
set(VELK_PICTURES
    leftpanel.jpg rightpanel.jpg leftconsole.jpg rightconsole.jpg lamplit.jpg
    modepursuit.bmp modeauto.bmp modenormal.bmp appicon.ico)
