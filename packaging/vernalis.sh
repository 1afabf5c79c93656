#!/bin/sh
# The demo reads its models from Data/ in the current folder: start it from the folder that
# holds them, whatever folder the user is in.
cd /usr/lib/games/vernalis || exit 1
exec ./vernalis "$@"
