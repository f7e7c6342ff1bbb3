cc example.c -o example $(pkg-config --cflags --libs rivezi3z)
