/* The least an SDL program can do to show a picture: open an 800 x 600 window, fill its surface
 * and present one frame. With BARE_SDL_TRACE=1 it writes the wall-clock moment of that first
 * present to stderr, then stays until it is closed or killed (so a script can read its memory). */
#include <SDL.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>

int main(int argc, char** argv)
{
    (void)argc;
    (void)argv;
    /* The same present path the game takes by default: no GL behind the window surface. */
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
        return 1;
    }
    SDL_Window* window = SDL_CreateWindow("bare", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 800, 600, 0);
    SDL_Surface* surface = window ? SDL_GetWindowSurface(window) : NULL;
    if (!surface) {
        fprintf(stderr, "bare_sdl_window: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_FillRect(surface, NULL, SDL_MapRGB(surface->format, 40, 80, 160));
    SDL_UpdateWindowSurface(window);
    const char* trace = getenv("BARE_SDL_TRACE");
    if (trace && strcmp(trace, "1") == 0) {
        struct timeval now;
        gettimeofday(&now, NULL);
        fprintf(stderr, "BARE_SDL_TRACE first_frame epoch_ms %.1f\n", now.tv_sec * 1000.0 + now.tv_usec / 1000.0);
        fflush(stderr);
    }
    for (SDL_Event event;;) {
        if (SDL_WaitEvent(&event) && event.type == SDL_QUIT)
            break;
    }
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
