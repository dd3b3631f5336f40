// What the stand-in page shows.
export const greeting = 'joined';
